#!/usr/bin/env bash
# Runs the i686 build's test suites in an emulated PC, for machines whose kernel runs no 32-bit
# code. QEMU's full-system emulator (its TCG translator, no KVM needed) boots a Debian 12 amd64
# machine whose own kernel runs Wine's 32-bit loader; there the unchanged `ctest --preset i686`
# runs on the build tree made on this machine, which a data disk carries at the same path.
#
#   tools/test-in-emulated-machine.sh <log file>     runs build/i686's suites
#   tools/test-in-emulated-machine.sh --cache-state  says whether the cached machine is usable
#
# The machine is made once from Debian's packages (debootstrap, then apt-get in a chroot) and
# kept in a cache folder outside the checkout (EMULATED_MACHINE_CACHE, by default
# /var/cache/configapp-i686-machine), with the Wine prefixes of the build's suites made inside
# it once.
# The cache is keyed by what it holds: the Debian suite and mirror, the package list and the
# steps below that make and start the machine; a cache made for another key, left half-made or
# damaged is made again. Test runs never change it: the machine's disk is written through a
# throwaway overlay.
#
# CTest's output goes to the terminal and, read back from the data disk, to the log, as the
# native suites write it. Exits 0 when every suite passed, 1 when one failed, 2 when the
# machine could not be made or did not run the suites; then the log's last line says why.
set -uo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD
cache=${EMULATED_MACHINE_CACHE:-/var/cache/configapp-i686-machine}

suite=bookworm
mirror=http://deb.debian.org/debian
security_mirror=http://deb.debian.org/debian-security
# What the i686 suites use: Wine with its 32-bit loader and 32-bit OpenGL for Direct3D 9, a
# virtual display that xrandr splits into two monitors, the fonts the prefixes link, chattr,
# CTest and CPack, and the MinGW strip that CPack uses to keep the package small.
packages=(
  linux-image-amd64
  wine wine64 wine32:i386
  libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick fonts-wqy-microhei
  e2fsprogs cmake binutils-mingw-w64-i686
)
# Every Wine prefix the i686 suites use, each made by the build's wine-run.sh with its variable.
prefixes=(wineprefix wineprefix-dpi144 wineprefix-monitors2)

say() { echo "emulated machine: $*"; }

# Makes the machine's root file system in folder $1 from Debian's packages. Sets why when it cannot.
make_root() {
  local root=$1
  if ! debootstrap --variant=minbase --arch=amd64 "$suite" "$root" "$mirror" >>"$cache/make.log" 2>&1; then
    why="debootstrap could not make Debian $suite from $mirror (see $cache/make.log)"
    return 1
  fi
  printf 'deb %s %s main\n' "$mirror" "$suite" "$mirror" "$suite-updates" \
    "$security_mirror" "$suite-security" >"$root/etc/apt/sources.list"
  # Nothing runs as a service in the chroot.
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
  # An initramfs with the few modules that mount the virtio disk: made in seconds, where one
  # with most modules took minutes.
  mkdir -p "$root/etc/initramfs-tools/conf.d" "$root/usr/share/initramfs-tools/modules.d"
  echo MODULES=list >"$root/etc/initramfs-tools/conf.d/emulated-machine"
  printf '%s\n' virtio_pci virtio_blk ext4 crc32c_generic \
    >"$root/usr/share/initramfs-tools/modules.d/emulated-machine"
  mount -t proc proc "$root/proc" || { why="could not mount /proc in $root"; return 1; }
  local status=0
  chroot "$root" dpkg --add-architecture i386 &&
    # An index out of step with its release file fails the update, while the lists apt has
    # may still serve: the install below decides.
    { chroot "$root" apt-get update >>"$cache/make.log" 2>&1 || true; } &&
    chroot "$root" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
      "${packages[@]}" >>"$cache/make.log" 2>&1 || status=1
  umount "$root/proc"
  if [ "$status" -ne 0 ]; then
    why="apt-get in the machine could not install its packages from $mirror:"
    why+=" $(grep -E '^(E|W): ' "$cache/make.log" | tail -n 1) (see $cache/make.log)"
    return 1
  fi
  chroot "$root" apt-get clean
  rm -rf "$root"/var/lib/apt/lists/* "$root/usr/sbin/policy-rc.d"
  write_init "$root/sbin/emulated-machine-init"
}

# The machine's init: mounts what programs need, runs the job on the data disk (/dev/vdb) with
# its output on the console and in the disk's job.log, leaves its exit status in job.status,
# and powers off with every file system clean.
write_init() {
  cat >"$1" <<'EOF'
#!/bin/bash
export PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
mount -t tmpfs tmpfs /run
mkdir -p /mnt/data
if mount -t ext4 /dev/vdb /mnt/data; then
  : >/mnt/data/booted
  bash /mnt/data/job.sh </dev/null 2>&1 | tee /mnt/data/job.log
  echo "${PIPESTATUS[0]}" >/mnt/data/job.status
fi
kill -KILL -1
sync
umount -a -r
mount -o remount,ro /
echo o >/proc/sysrq-trigger
EOF
  chmod +x "$1"
}

# Starts the machine with data disk $1 for at most $2; $3 is `on` to leave its disk unchanged.
boot() {
  timeout "$2" qemu-system-x86_64 -accel tcg,thread=multi -cpu max,-smap -m 4096 -smp 2 \
    -nographic -no-reboot -nic none \
    -kernel "$cache/vmlinuz" -initrd "$cache/initrd.img" \
    -append "root=/dev/vda rw console=ttyS0 quiet loglevel=3 panic=1 init=/sbin/emulated-machine-init" \
    -drive "file=$cache/root.img,format=raw,if=virtio,snapshot=$3" \
    -drive "file=$1,format=raw,if=virtio" </dev/null
}

# The job the machine runs: the checkout at its path on this machine, the cached prefixes at
# the build's prefix paths, one virtual display, then command $1.
write_job() {
  cat <<EOF
set -u
export LANG=C.UTF-8
checkout='$checkout'
build="\$checkout/build/i686"
mkdir -p "\$checkout"
mount --bind "/mnt/data\$checkout" "\$checkout"
for prefix in ${prefixes[*]}; do
  mkdir -p "\$build/\$prefix" "/var/lib/emulated-machine/\$prefix"
  mount --bind "/var/lib/emulated-machine/\$prefix" "\$build/\$prefix"
done
cd "\$checkout"
source tools/virtual-display.sh
$1
EOF
}

recipe() {
  echo "$suite $mirror $security_mirror ${packages[*]}"
  declare -f make_root write_init
}
key=$(recipe | sha256sum | cut -c1-16)
# The prefixes are made by the build's own wine-run.sh, which remakes any prefix made by other
# steps: they are made again whenever it or the machine changes.
prefixes_key="$key $({ echo "${prefixes[*]}"; declare -f write_job; cat cmake/wine-run.sh.in tools/windows-programs.sh; } |
  sha256sum | cut -c1-16)"

# Prints the cache's state: current, or why it is not.
cache_state() {
  if [ ! -f "$cache/key" ]; then
    echo "missing (no complete machine in $cache)"
  elif [ "$(cat "$cache/key")" != "$key" ]; then
    echo "stale (made for key $(cat "$cache/key"), this checkout needs $key)"
  elif [ ! -s "$cache/vmlinuz" ] || [ ! -s "$cache/initrd.img" ] ||
    ! e2fsck -fn "$cache/root.img" >/dev/null 2>&1; then
    echo "damaged (its kernel, initramfs or disk image fails the check)"
  else
    echo current
  fi
}

# Makes the machine in the cache folder. Sets why when it cannot.
make_machine() {
  local missing=()
  for tool in debootstrap mkfs.ext4 chroot; do
    command -v "$tool" >/dev/null || missing+=("$tool")
  done
  if [ "${#missing[@]}" -ne 0 ]; then
    why="cannot be made here: ${missing[*]} missing (Debian packages debootstrap, e2fsprogs)"
    return 1
  fi
  if [ "$(id -u)" -ne 0 ]; then
    why="cannot be made here: making it (debootstrap, chroot) needs root"
    return 1
  fi
  # A run stopped while apt-get ran in the chroot left its /proc mounted there.
  umount "$cache/root/proc" 2>/dev/null
  rm -rf --one-file-system "$cache"
  mkdir -p "$cache" || { why="cannot make the cache folder $cache"; return 1; }
  local root=$cache/root
  make_root "$root" || return 1
  cp "$(ls "$root"/boot/vmlinuz-* | tail -n 1)" "$cache/vmlinuz" &&
    cp "$(ls "$root"/boot/initrd.img-* | tail -n 1)" "$cache/initrd.img" &&
    mkfs.ext4 -q -F -L emulated-root -d "$root" "$cache/root.img" 8G >>"$cache/make.log" 2>&1 ||
    { why="could not write its disk image (see $cache/make.log)"; return 1; }
  rm -rf "$root"
  echo "$key" >"$cache/key"
}

# Writes the data disk $2 with the checkout, build/i686 and job command $1, linking rather
# than copying where the file system allows.
make_data_disk() {
  local stage=build/emulated-machine/data
  rm -rf "$stage" "$2"
  mkdir -p "$stage$checkout/build"
  for entry in * .[!.]*; do
    [ -e "$entry" ] && [ "$entry" != build ] && [ "$entry" != .git ] || continue
    cp -al "$entry" "$stage$checkout/" 2>/dev/null || cp -a "$entry" "$stage$checkout/"
  done
  cp -al build/i686 "$stage$checkout/build/" 2>/dev/null || cp -a build/i686 "$stage$checkout/build/"
  rm -rf "$stage$checkout"/build/i686/wineprefix* "$stage$checkout/build/i686/ctest.log"
  write_job "$1" >"$stage/job.sh"
  local size
  size=$(($(du -sm "$stage" | cut -f1) + 1024))
  mkfs.ext4 -q -F -L emulated-data -d "$stage" "$2" "${size}M" >/dev/null || return 1
  rm -rf "$stage"
}

# Copies file $2 of data disk $1 to $3.
read_back() {
  rm -f "$3"
  debugfs -R "dump $2 $3" "$1" >/dev/null 2>&1 && [ -f "$3" ]
}

# Runs command $1 in the machine for at most $2 ($3 as for boot). Sets why when it did not run, job_status when it did.
run_job() {
  local data=build/emulated-machine/data.img
  make_data_disk "$1" "$data" || { why="could not write the data disk $data"; return 1; }
  reached_init=1
  # The console's line ends and the firmware's terminal codes are left out, and so is what the
  # kernel says once the machine powers off (its init ends there).
  boot "$data" "$2" "$3" | sed -u -e 's/\r$//' -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\x1bc//g' \
    -e '/sysrq: Power Off/,$d'
  if ! read_back "$data" /booted build/emulated-machine/booted; then
    why="did not reach its init (boot output above)"
    reached_init=
    return 1
  fi
  if ! read_back "$data" /job.status build/emulated-machine/job.status; then
    why="did not finish its job within $2 (output above)"
    return 1
  fi
  job_status=$(cat build/emulated-machine/job.status)
}

# Makes the build's Wine prefixes inside the cached machine. Sets why when it cannot.
make_prefixes() {
  rm -f "$cache/prefixes.key"
  say "making the build's Wine prefixes inside it (minutes each)"
  run_job 'build/i686/wine-run.sh --prepare && WINE_RUN_DPI=144 build/i686/wine-run.sh --prepare &&
    WINE_RUN_MONITORS=2 build/i686/wine-run.sh --prepare' \
    40m off || return 1
  if [ "$job_status" != 0 ]; then
    why="could not make the Wine prefixes inside it (output above)"
    return 1
  fi
  echo "$prefixes_key" >"$cache/prefixes.key"
}

# Brings the cache to a machine with current prefixes. Sets why when it cannot.
ready_machine() {
  local state
  state=$(cache_state)
  if [ "$state" != current ]; then
    say "the cached machine in $cache is $state: making it from Debian's packages" \
      "(its log: $cache/make.log)"
    if ! make_machine; then
      [[ $why == "cannot be made here"* ]] || why="could not be made: $why"
      return 1
    fi
  fi
  [ "$(cat "$cache/prefixes.key" 2>/dev/null)" = "$prefixes_key" ] || make_prefixes
}

if [ "${1:-}" = --cache-state ]; then
  echo "$cache: $(cache_state)"
  exit 0
fi
log=${1:?usage: tools/test-in-emulated-machine.sh <log file> | --cache-state}
mkdir -p "$(dirname "$log")" build/emulated-machine
rm -f "$log"

# Ends the run with status 2 and why as the log's last line.
not_run() {
  say "$why"
  echo "$why" >>"$log"
  exit 2
}

if ! command -v qemu-system-x86_64 >/dev/null || ! command -v debugfs >/dev/null; then
  why="cannot run here: qemu-system-x86_64 or debugfs missing (Debian packages qemu-system-x86, e2fsprogs)"
  not_run
fi
mkdir -p "$(dirname "$cache")" || { why="cannot run here: cannot make the folder $(dirname "$cache")"; not_run; }
# One run at a time makes or uses the cache.
exec 9>"$cache.lock"
flock 9

ready_machine || not_run
say "running the i686 suites (ctest --preset i686)"
job='tools/run-windows-tests.sh i686 build/i686/ctest.log'
if ! run_job "$job" 60m on; then
  # A cached machine that no longer boots is made again, once.
  [ -z "$reached_init" ] || not_run
  say "$why; making it again"
  rm -f "$cache/key"
  ready_machine && run_job "$job" 60m on || not_run
fi
if ! read_back build/emulated-machine/data.img "$checkout/build/i686/ctest.log" "$log"; then
  why="left no CTest log (output above)"
  not_run
fi
[ "$job_status" = 0 ]

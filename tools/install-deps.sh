#!/usr/bin/env bash
# Installs every Debian package needed to build the launcher, run it under Wine and run its
# tests. Safe to run again: it only installs what is missing, and says in its first lines what
# it decided for this machine.
#
# It asks the kernel first (tools/kernel-runs-32bit.sh): the i386 architecture and 32-bit Wine
# are installed only where 32-bit code runs. Where apt cannot install them, the rest is
# installed and the i686 tests do not run; WINDOWS_PROGRAMS=32+64 insists on them instead, and
# WINDOWS_PROGRAMS=64 never installs them. Where 32-bit code does not run, the packages of the
# emulated i686 machine are installed if apt can. A registry that is out of step with itself
# (an index that does not match its release file) is retried, then the lists apt has are used:
# only a package this machine needs that apt cannot install fails the set-up.
set -euo pipefail
tools=$(dirname "$0")

packages=(
  cmake ninja-build g++ make
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  googletest
  wine wine64
  xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick
  # Han, kana and Hangul in one small font, which the Wine prefixes link to the dialog font.
  fonts-wqy-microhei
  clang libclang-rt-14-dev
)
# Wine runs the 32-bit launcher with 32-bit libraries; Direct3D 9 needs OpenGL of its bitness.
packages_32bit=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386)
# A PC emulated with qemu runs the i686 suites where this kernel cannot; debootstrap and
# e2fsprogs (mkfs.ext4 -d, debugfs) make its disk.
packages_emulator=(qemu-system-x86 debootstrap e2fsprogs)

say() { echo "install-deps: $*"; }

missing() {
  local p
  for p; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || echo "$p"
  done
}

# apt's own words for a failure, in one line: its first unmet dependency, first failed
# download and first error (or its last line when it gave none of those).
apt_reason() {
  awk '/^ +[^ ]+ : / && !u++ || /^W: Failed to fetch/ && !w++ || /^E: / && !e++ {
         sub(/^ +/, ""); r = r (r == "" ? "" : "; ") $0 }
       NF { last = $0 }
       END { print (r == "" ? last : r) }' <<<"$1"
}

lists_updated=
update_lists() {
  [ -z "$lists_updated" ] || return 0
  lists_updated=1
  local try output
  for try in 1 2 3; do
    output=$(apt-get update 2>&1) && return 0
    [ "$try" = 3 ] || sleep 5
  done
  say "apt-get update failed 3 times ($(apt_reason "$output")); going on with the lists apt has"
}

# apt_install <package>...: installs all the packages or, when apt cannot plan it, none; then
# apt's reason is in failure and the status is 1. A new machine's own upgrades can hold dpkg's
# lock for minutes: apt waits for it.
apt_install() {
  local output
  update_lists
  if ! output=$(DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    -oDPkg::Lock::Timeout=600 "$@" 2>&1 | tee -a "$apt_log"); then
    failure=$(apt_reason "$output")
    return 1
  fi
}

case "${WINDOWS_PROGRAMS:-auto}" in
  64) no_32bit="switched off by WINDOWS_PROGRAMS=64" ;;
  32+64 | auto) "$tools/kernel-runs-32bit.sh" || no_32bit="this kernel runs no 32-bit code" ;;
  *)
    echo "install-deps: WINDOWS_PROGRAMS=$WINDOWS_PROGRAMS is not one of auto, 64, 32+64" >&2
    exit 1
    ;;
esac
missing_32bit=()
missing_emulator=()
if [ -z "${no_32bit:-}" ]; then
  say "this kernel runs 32-bit code: 32-bit Wine (i386) is installed too"
  mapfile -t missing_32bit < <(missing "${packages_32bit[@]}")
elif [ "${WINDOWS_PROGRAMS:-auto}" = 32+64 ]; then
  echo "install-deps: WINDOWS_PROGRAMS=32+64, but $no_32bit" >&2
  exit 1
elif [ "${WINDOWS_PROGRAMS:-auto}" = 64 ]; then
  say "no i386 packages: $no_32bit"
else
  say "$no_32bit: no i386 packages; the emulated i686 machine's ${packages_emulator[*]}" \
    "are optional (without them the i686 suites cannot run emulated)"
  mapfile -t missing_emulator < <(missing "${packages_emulator[@]}")
fi
mapfile -t missing_needed < <(missing "${packages[@]}")

# The i386 architecture stays only with i386 packages: without them apt would still fetch its
# indexes, which can fail on their own, and a machine that an earlier failed run left with the
# architecture alone is set up as if new.
drop_unused_i386() {
  if [ "$(id -u)" -eq 0 ] && dpkg --print-foreign-architectures | grep -qx i386 &&
    ! dpkg-query -W '*:i386' >/dev/null 2>&1; then
    dpkg --remove-architecture i386 && say "removed the i386 architecture, which has no packages"
  fi
}
[ "${#missing_32bit[@]}" -ne 0 ] || drop_unused_i386

wanted=("${missing_needed[@]}" "${missing_32bit[@]}" "${missing_emulator[@]}")
if [ "${#wanted[@]}" -eq 0 ]; then
  say "every package is installed"
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  say "missing ${wanted[*]}; run as root to install them with apt-get"
  [ "${#missing_needed[@]}" -eq 0 ] || exit 1
  [ "${#missing_32bit[@]}" -eq 0 ] || [ "${WINDOWS_PROGRAMS:-auto}" != 32+64 ] || exit 1
  exit 0
fi

apt_log=$(mktemp -t install-deps.XXXXXX.log)
say "installing ${wanted[*]} (apt-get's output: $apt_log; a new machine takes a few minutes)"
if [ "${#missing_32bit[@]}" -ne 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
if [ "${#missing_needed[@]}" -ne 0 ] && ! apt_install "${missing_needed[@]}"; then
  echo "install-deps: cannot install what this machine needs: $failure" >&2
  drop_unused_i386
  exit 1
fi
if [ "${#missing_32bit[@]}" -ne 0 ] && ! apt_install "${missing_32bit[@]}"; then
  if [ "${WINDOWS_PROGRAMS:-auto}" = 32+64 ]; then
    echo "install-deps: cannot install 32-bit Wine, which WINDOWS_PROGRAMS=32+64 needs:" \
      "$failure" >&2
    drop_unused_i386
    exit 1
  fi
  say "going on without 32-bit Wine, so the i686 tests will not run: $failure"
  drop_unused_i386
fi
for p in "${missing_emulator[@]}"; do
  apt_install "$p" || say "optional $p not installed: $failure"
done

#!/usr/bin/env bash
# What tools/install-deps.sh decides and prints when apt fails the way it does on a real day.
# apt-get, dpkg and dpkg-query are stand-ins on PATH, as are id (root or not), sleep (no real
# pause) and the kernel probe: a test cannot change the registry, the kernel or the machine's
# packages. Exits non-zero when a row's outcome differs.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/tools"
cp "$here/../../tools/install-deps.sh" "$work/tools/"
echo 'exit "$KERNEL"' >"$work/tools/kernel-runs-32bit.sh"
cat >"$work/bin/standin" <<'EOF'
#!/usr/bin/env bash
# Answers from $STATE: installed (one package a line), arches (foreign architectures), calls.
echo "${0##*/} $*" >>"$STATE/calls"
found() { while read -r p; do [[ $p == $1 ]] && return; done <"$STATE/installed"; return 1; }
case "${0##*/} $1" in
  "id -u") echo "${USER_ID:-0}" ;;
  "dpkg --print-foreign-architectures") cat "$STATE/arches" ;;
  "dpkg --add-architecture") echo "$2" >>"$STATE/arches" ;;
  "dpkg --remove-architecture") sed -i "/^$2\$/d" "$STATE/arches" ;;
  "dpkg-query -W") found "${!#}" && echo "install ok installed" ;;
  "apt-get update")
    [ "$(grep -c '^apt-get update' "$STATE/calls")" -gt "${FAILS:-0}" ] && exit 0
    echo "W: Failed to fetch http://deb.debian.org/.../binary-i386/Packages.xz  File has" \
      "unexpected size (1 != 2). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
  "apt-get install")
    for p in "${@:2}"; do
      [[ $p == -* ]] && continue
      if [[ " ${UNKNOWN:-} " == *" $p "* || $p == *:i386 && ! -s $STATE/arches ]]; then
        echo "E: Unable to locate package $p" && exit 100
      elif [[ " ${BROKEN:-} " == *" $p "* ]]; then
        echo " $p : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
        echo "E: Unable to correct problems, you have held broken packages." && exit 100
      fi
    done
    [[ " $* " == *" -s "* ]] || printf '%s\n' "${@:2}" | grep -v '^-' >>"$STATE/installed" ;;
esac
EOF
chmod +x "$work/bin/standin" "$work/tools/kernel-runs-32bit.sh"
for c in apt-get dpkg dpkg-query id sleep; do ln -s standin "$work/bin/$c"; done

# A row: its settings (KERNEL=1: the kernel runs no 32-bit code; FAILS: how many apt-get
# updates fail; ARCH: foreign architecture at the start; AGAIN: the script runs twice) | the
# outcome (status, foreign architectures, i386 packages, wine64 and qemu installed, apt-get
# updates) | a line the script prints.
rows=(
  "KERNEL=1 FAILS=99|0 - 0 y y 3|update failed 3 times \(W: .*Mirror sync in progress\?; E: "
  "KERNEL=1 ARCH=i386|0 - 0 y y 1|removed the i386 architecture"
  "KERNEL=1 UNKNOWN=debootstrap|0 - 0 y y 1|optional debootstrap not installed: E: .* debootstrap$"
  "KERNEL=1 UNKNOWN=xdotool|1 - 0 n n 1|needs: E: Unable to locate package xdotool$"
  "KERNEL=1 WINDOWS_PROGRAMS=32+64|1 - 0 n n 0|32\+64, but this kernel runs no 32-bit code"
  "KERNEL=1 USER_ID=1000|1 - 0 n n 0|missing cmake .*; run as root"
  "KERNEL=0 FAILS=1|0 i386 4 y n 2|kernel runs 32-bit code: 32-bit Wine"
  "KERNEL=0 AGAIN=1|0 i386 4 y n 1|every package is installed"
  "KERNEL=0 FAILS=99 ARCH=i386 BROKEN=wine32:i386|0 - 0 y n 3|i686 .*: wine32:i386 : Depends: .*; E: "
  "KERNEL=0 WINDOWS_PROGRAMS=32+64 BROKEN=wine32:i386|1 - 0 y n 1|needs: wine32:i386 : Depends"
  "KERNEL=0 WINDOWS_PROGRAMS=64|0 - 0 y n 1|no i386 packages: switched off by WINDOWS_PROGRAMS=64"
)
failed=0
for row in "${rows[@]}"; do
  IFS='|' read -r settings want line <<<"$row"
  output=$(
    export STATE=$work/state PATH=$work/bin:$PATH TMPDIR=$work $settings
    rm -rf "$STATE" && mkdir "$STATE" && touch "$STATE/installed" "$STATE/calls"
    printf '%s' "${ARCH:+$ARCH$'\n'}" >"$STATE/arches"
    [ -z "${AGAIN:-}" ] || "$work/tools/install-deps.sh" >/dev/null 2>&1
    "$work/tools/install-deps.sh" 2>&1
    status=$?
    has() { grep -qx "$1" "$STATE/installed" && echo y || echo n; }
    echo "= $status $(paste -sd, "$STATE/arches" | grep . || echo -)" \
      "$(grep -c :i386 "$STATE/installed") $(has wine64) $(has qemu-system-x86)" \
      "$(grep -c '^apt-get update' "$STATE/calls")"
  )
  got=$(tail -n 1 <<<"$output" | sed 's/^= //')
  if [ "$got" != "$want" ] || ! grep -Eq "install-deps: .*$line" <<<"$output"; then
    printf 'FAILED %s\n  want: %s, a line matching %s\n  got:  %s\n%s\n' "$settings" "$want" \
      "$line" "$got" "$output" && failed=$((failed + 1))
  fi
done
echo "install-deps-test: $((${#rows[@]} - failed)) of ${#rows[@]} rows passed"
[ "$failed" = 0 ]

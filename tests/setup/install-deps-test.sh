#!/usr/bin/env bash
# What tools/install-deps.sh decides and prints when apt fails as it does on a bad day. apt-get,
# dpkg, dpkg-query, id, sleep and the kernel probe are stand-ins: a test can change neither the
# registry, nor the kernel, nor the machine's packages.
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/tools" && cp "$(dirname "$0")/../../tools/install-deps.sh" "$work/tools/"
echo 'exit "$KERNEL"' >"$work/tools/kernel-runs-32bit.sh"
cat >"$work/bin/standin" <<'EOF'
#!/usr/bin/env bash
# Answers from $STATE: installed (one package a line), arches (foreign architectures), calls.
echo "${0##*/} $*" >>"$STATE/calls" && cd "$STATE" || exit 1
case "${0##*/} $1" in
  "id -u") echo "${USER_ID:-0}" ;;
  "dpkg --print-foreign-architectures") cat arches ;;
  "dpkg --add-architecture") echo "$2" >>arches ;;
  "dpkg --remove-architecture") sed -i "/^$2\$/d" arches ;;
  "dpkg-query -W") grep -qx "${!#//\*/.*}" installed && echo "install ok installed" ;;
  "apt-get update")
    [ "$(grep -c '^apt-get update' calls)" -gt "${FAILS:-0}" ] && exit 0
    printf '%s\n' "W: Failed to fetch .../Packages.xz File has unexpected size (1 != 2). Mirror sync" \
      "E: Some index files failed to download. They have been ignored" && exit 100 ;;
  "apt-get install")
    for p in $(printf '%s\n' "${@:2}" | grep -v '^-' | tee wanted); do
      if [[ " ${UNKNOWN:-} " == *" $p "* || $p == *:i386 && ! -s arches ]]; then
        echo "E: Unable to locate package $p" && exit 100
      elif [[ " ${BROKEN:-} " == *" $p "* ]]; then
        printf '%s\n' " $p : Depends: libwine:i386 (= 8.0) but it is not going to be installed" \
          "E: Unable to correct problems, you have held broken packages." && exit 100
      fi
    done && cat wanted >>installed ;;
esac
EOF
chmod +x "$work/bin/standin" "$work/tools/kernel-runs-32bit.sh"
for c in apt-get dpkg dpkg-query id sleep; do ln -s standin "$work/bin/$c"; done

# Settings (KERNEL=1: no 32-bit code runs; FAILS: apt-get updates that fail; ARCH: foreign
# architecture at the start; AGAIN: run twice) | status, foreign architectures, i386 packages,
# wine64 and qemu installed, apt-get updates | a line it prints.
rows=(
  "KERNEL=1 FAILS=99|0 - 0 y y 3|update failed 3 times \(W: .*Mirror sync; E: .*\); going on"
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
    rm -rf "$STATE" && mkdir "$STATE" && cd "$STATE" && touch installed calls
    printf '%s' "${ARCH:+$ARCH$'\n'}" >arches
    [ -z "${AGAIN:-}" ] || "$work/tools/install-deps.sh" >/dev/null 2>&1
    "$work/tools/install-deps.sh" 2>&1
    status=$? && has() { grep -qx "$1" installed && echo y || echo n; }
    echo "$status $(paste -sd, arches | grep . || echo -) $(grep -c :i386 installed)" \
      "$(has wine64) $(has qemu-system-x86) $(grep -c '^apt-get update' calls)"
  )
  if [ "$(tail -n 1 <<<"$output")" != "$want" ] || ! grep -Eq "install-deps: .*$line" <<<"$output"
  then
    printf 'FAILED %s\n  want: %s and a line matching %s; got:\n%s\n' "$settings" "$want" "$line" \
      "$output" && failed=$((failed + 1))
  fi
done
echo "install-deps-test: $((${#rows[@]} - failed)) of ${#rows[@]} rows passed"
[ "$failed" = 0 ]

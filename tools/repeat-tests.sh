#!/usr/bin/env bash
# A flake hunt: runs the Windows test suites N times in a row, all on one virtual display,
# and prints how often each suite and each test case failed, per preset.
#
#   tools/repeat-tests.sh N [preset...]      (presets: i686, x86_64; default: those that run here)
#
# Builds the presets first. Each round's log is build/repeat-tests/<preset>-<round>.log.
# Exits non-zero when anything failed in any round.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-}
if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: tools/repeat-tests.sh N [preset...]" >&2
  exit 2
fi
shift

tools/install-deps.sh
source tools/windows-programs.sh
echo "$windows_programs_line"

# WINDOWS_PRESETS lists the presets that run here, separated by blanks.
requested=("$@")
[ "$#" -gt 0 ] || read -r -a requested <<<"$WINDOWS_PRESETS"
presets=()
for preset in "${requested[@]}"; do
  case " $WINDOWS_PRESETS " in
    *" $preset "*) presets+=("$preset") ;;
    *)
      case "$preset" in
        i686) echo "repeat-tests: i686: not run: $WINDOWS_32BIT_WHY" ;;
        *) echo "repeat-tests: $preset is not a Windows preset (i686, x86_64)" >&2 && exit 2 ;;
      esac
      ;;
  esac
done
[ "${#presets[@]}" -gt 0 ] || exit 1

source tools/virtual-display.sh
for preset in "${presets[@]}"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" >/dev/null
done

logs=build/repeat-tests
rm -rf "$logs"
mkdir -p "$logs"
failures="$logs/failures.txt"
: >"$failures"
for round in $(seq "$rounds"); do
  for preset in "${presets[@]}"; do
    log="$logs/$preset-$round.log"
    if tools/run-windows-tests.sh "$preset" "$log" >/dev/null; then
      echo "round $round, $preset: passed"
    else
      echo "round $round, $preset: FAILED (log: $log)"
      tools/failed-tests.sh "$log" | sed "s/^/$preset /" >>"$failures"
    fi
  done
done

echo
echo "=== failures in $rounds rounds"
printf '%-8s %-6s %s\n' preset rounds "suite or test case"
for preset in "${presets[@]}"; do
  if grep -q "^$preset " "$failures"; then
    sort "$failures" | uniq -c | awk -v p="$preset" '$2 == p {
      count = $1; $1 = ""; $2 = ""; sub(/^ +/, ""); printf "%-8s %-6s %s\n", p, count, $0 }'
  else
    printf '%-8s %-6s %s\n' "$preset" 0 "(none)"
  fi
done
[ ! -s "$failures" ]

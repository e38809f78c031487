#!/usr/bin/env bash
# Tests the set-up's decisions, installs what is missing, builds the launcher for 32-bit and
# 64-bit Windows and runs every test under Wine that this machine can run: both suites where
# the kernel runs 32-bit code and 32-bit Wine could be installed, the x86_64 suite alone where
# not. Exits non-zero when anything fails; the output closes with the set-up test's result and
# CTest's summary of each suite run.
set -euo pipefail
cd "$(dirname "$0")/.."

# Needs no package and no network: apt is a stand-in there.
setup_test=$(tests/setup/install-deps-test.sh) && setup_failed= || setup_failed=1
echo "$setup_test"
tools/install-deps.sh
source tools/windows-programs.sh
echo "$windows_programs_line"

# The portable code natively, with sanitizers and fuzzing.
tools/native-checks.sh

source tools/virtual-display.sh

for preset in i686 x86_64; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

failed=()
summaries=()
for preset in $WINDOWS_PRESETS; do
  echo "=== $preset: tests"
  log="build/$preset/ctest.log"
  tools/run-windows-tests.sh "$preset" "$log" || failed+=("$preset")
  summaries+=("$preset: $(grep -E 'tests passed|No tests were found' "$log" | tail -n 1 || true)")
done

# Where this kernel runs no 32-bit code, the i686 suites run in an emulated machine instead,
# unless WINDOWS_PROGRAMS=64 switched them off.
i686_not_run=$WINDOWS_32BIT_WHY
if [ -n "$WINDOWS_32BIT_WHY" ] && [ "${WINDOWS_PROGRAMS:-auto}" != 64 ]; then
  echo "=== i686: tests in an emulated machine ($WINDOWS_32BIT_WHY)"
  log=build/i686/ctest.log
  status=0
  tools/test-in-emulated-machine.sh "$log" || status=$?
  if [ "$status" -le 1 ]; then
    i686_not_run=
    summaries+=("i686 (emulated machine): $(grep -E 'tests passed|No tests were found' "$log" | tail -n 1 || true)")
    [ "$status" -eq 0 ] || failed+=(i686)
  else
    i686_not_run="$WINDOWS_32BIT_WHY, and the emulated machine $(tail -n 1 "$log" 2>/dev/null || true)"
  fi
fi

echo "=== summary"
tail -n 1 <<<"$setup_test"
printf '%s\n' "${summaries[@]}"
[ -z "$i686_not_run" ] || echo "i686: built, tests not run: $i686_not_run"
if [ "${#failed[@]}" -ne 0 ]; then
  for preset in "${failed[@]}"; do
    echo "=== $preset: failed (each suite's own output is printed right after its result line above)"
    tools/failed-tests.sh "build/$preset/ctest.log" | sed 's/^/  /'
  done
  exit 1
fi
[ -z "$setup_failed" ]

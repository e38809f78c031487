#!/usr/bin/env bash
# Runs the Windows test suites of one build preset under Wine, on the X display in DISPLAY:
#
#   tools/run-windows-tests.sh <preset> <log file>
#
# The whole CTest output goes to the terminal and to the log; a suite that fails has its own
# output shown right after its result line (tools/failed-tests.sh lists the failures of a log).
# Ends the build's Wine processes before it returns, so that nothing of this run is left to the
# next. Exits non-zero when a suite failed.
set -uo pipefail
cd "$(dirname "$0")/.."
preset=$1
log=$2

mkdir -p "$(dirname "$log")"
ctest --preset "$preset" --output-on-failure 2>&1 | tee "$log"
status=${PIPESTATUS[0]}

for prefix in "build/$preset"/wineprefix*/; do
  [ -d "$prefix" ] && WINEPREFIX="$PWD/$prefix" wineserver -k 2>/dev/null
done
exit "$status"

#!/usr/bin/env bash
# Installs what is missing, builds the launcher for 32-bit and 64-bit Windows and runs every
# test under Wine. Exits non-zero when anything fails; CTest's summary closes the output.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

# The portable code natively, with sanitizers and fuzzing.
tools/native-checks.sh

source tools/virtual-display.sh

failed=()
for preset in i686 x86_64; do
  echo "=== $preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
for preset in i686 x86_64; do
  echo "=== $preset: tests"
  ctest --preset "$preset" || failed+=("$preset")
  # Ends Wine's helper processes of this build before the virtual display goes away.
  WINEPREFIX="$PWD/build/$preset/wineprefix" wineserver -k 2>/dev/null || true
done

if [ "${#failed[@]}" -ne 0 ]; then
  echo "=== tests failed for: ${failed[*]}" >&2
  exit 1
fi

#!/usr/bin/env bash
# The portable code natively under AddressSanitizer and UndefinedBehaviorSanitizer: builds the
# native-sanitize preset, runs its tests, then every fuzz target for a short while (20 s each,
# or the number of seconds given). Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

echo "=== native-sanitize: configure, build and tests"
cmake --preset native-sanitize >/dev/null
cmake --build --preset native-sanitize
ctest --preset native-sanitize
echo "=== native-sanitize: fuzzing"
tools/fuzz.sh "${1:-20}"

#!/usr/bin/env bash
# Builds the launcher and runs it in a demo installation under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686
echo "run-demo: the launcher itself is not built yet; only its parts and their tests exist." >&2
exit 1

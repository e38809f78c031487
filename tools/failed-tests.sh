#!/usr/bin/env bash
# Lists the failures in a CTest log written with --output-on-failure, one line each:
# "<suite> (<how it ended>)" for a suite that failed, followed by "<suite>: <test case>" for
# each GoogleTest case that failed in it.
#
#   tools/failed-tests.sh <ctest log>
set -euo pipefail
awk '
  # CTest ends each suite with a result line; a failed suite'"'"'s own output follows it.
  match($0, /Test +#[0-9]+: [^ ]+ /) {
    suite = substr($0, RSTART, RLENGTH); sub(/^Test +#[0-9]+: /, "", suite); sub(/ $/, "", suite)
    current = ""
    if ($0 !~ / Passed +[0-9.]+ sec/ && $0 ~ / [0-9.]+ sec/) {
      how = $0; sub(/^.*Test +#[0-9]+: [^ ]+ [.]+/, "", how); sub(/^\**/, "", how)
      sub(/ +[0-9.]+ sec.*$/, "", how)
      print suite " (" how ")"
      current = suite
    }
    next
  }
  /^ *Start +[0-9]+: / { current = "" }
  current != "" && /^\[  FAILED  \] [^ ]+/ && !/ tests?, listed below/ {
    name = $4
    if (!((current, name) in seen)) { seen[current, name] = 1; print current ": " name }
  }
' "$1"

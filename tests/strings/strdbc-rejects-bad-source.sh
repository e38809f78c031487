#!/bin/sh
# Runs the native strdbc on a bad source: it must exit with 1, write no database and report
# exactly the expected errors (source path shortened to its name).
# Usage: strdbc-rejects-bad-source.sh STRDBC SOURCE OUTPUT EXPECTED_ERRORS
strdbc=$1 source=$2 output=$3 expected=$4
touch "$output"
errors=$("$strdbc" "$source" "$output" 2>&1)
code=$?
printf '%s\n' "$errors"
[ "$code" -eq 1 ] || { echo "exit code $code, expected 1"; exit 1; }
[ ! -e "$output" ] || { echo "a database was left behind"; exit 1; }
printf '%s\n' "$errors" | sed "s|^$source:|$(basename "$source"):|" | diff -u "$expected" - ||
  exit 1

#!/usr/bin/env bash
# Builds the native-sanitize preset and runs each fuzz target for the given number of seconds
# (default 60), one after another. Exits non-zero when any target crashes, meets a sanitizer
# report or finds a broken property; the input that did it is copied into the target's corpus
# (fuzz/corpus/<target>/), so that it stays a test from then on.
set -uo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build/native-sanitize
work="$build/fuzzing"

cmake --preset native-sanitize >/dev/null && cmake --build --preset native-sanitize >/dev/null ||
  { echo "fuzz: the native-sanitize build failed" >&2; exit 1; }

failed=()
for target in settings_tokenizer settings_writer string_database_reader string_source \
              prior_choice_lines; do
  # New inputs go to a working corpus in the build folder; the seeds in the repository stay small.
  mkdir -p "$work/$target/corpus" "$work/$target/crashes"
  rm -f "$work/$target/crashes"/*
  log="$work/$target/log"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$work/$target/crashes/" \
    "$work/$target/corpus" "fuzz/corpus/$target" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  coverage=$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
  if [ "$status" -eq 0 ]; then
    echo "fuzz: $target: clean, ${runs:-?} executions, ${coverage:-no coverage line}"
    continue
  fi
  failed+=("$target")
  echo "fuzz: $target FAILED (exit $status), ${runs:-?} executions; log: $log" >&2
  grep -E 'ERROR|property broken|runtime error|SUMMARY' "$log" | head -5 >&2
  for crash in "$work/$target/crashes"/*; do
    [ -f "$crash" ] || continue
    cp "$crash" "fuzz/corpus/$target/"
    echo "fuzz: reproducer kept in fuzz/corpus/$target/$(basename "$crash")" \
         "(run: $build/fuzz/fuzz_$target fuzz/corpus/$target/$(basename "$crash"))" >&2
  done
done

[ "${#failed[@]}" -eq 0 ] || { echo "fuzz: failed: ${failed[*]}" >&2; exit 1; }

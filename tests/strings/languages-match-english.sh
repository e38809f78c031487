#!/bin/sh
# Compiles every Config.<lang>.txt of the strings folder into a database and compares its
# keys with English: a key English has and the language lacks, or the other way round, fails
# the test and is named.
# Usage: languages-match-english.sh STRDBC STRINGS_FOLDER OUTPUT_FOLDER
strdbc=$1 strings=$2 output=$3
mkdir -p "$output"

# The keys of a source that strdbc accepted, sorted. Its non-comment lines are all
# "Key = Text"; a byte order mark may stand before the first.
keys() {
  sed -e '1s/^\xEF\xBB\xBF//' -n -e 's/^[[:space:]]*\([A-Za-z0-9_.]*\)[[:space:]]*=.*/\1/p' "$1" |
    LC_ALL=C sort
}

status=0
keys "$strings/Config.en.txt" >"$output/en.keys"
for source in "$strings"/Config.*.txt; do
  language=$(basename "$source" .txt)
  language=${language#Config.}
  if ! "$strdbc" "$source" "$output/Config.$language.Strdb00p"; then
    status=1
    continue
  fi
  keys "$source" >"$output/$language.keys"
  for key in $(LC_ALL=C comm -23 "$output/en.keys" "$output/$language.keys"); do
    echo "$language lacks the key $key"
    status=1
  done
  for key in $(LC_ALL=C comm -13 "$output/en.keys" "$output/$language.keys"); do
    echo "$language has the key $key, which English lacks"
    status=1
  done
  echo "$language: $(wc -l <"$output/$language.keys") keys"
done
exit $status

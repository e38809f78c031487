#!/bin/sh
# Makes the release package with CPack, checks its size, unpacks it into a fresh folder,
# checks that it holds exactly the files a player gets, and runs the end-to-end OK case in
# that folder.
# Usage: unpacked-package-runs.sh CPACK CPACK_CONFIG PACKAGE_FILE_NAME WINE_RUN E2E_TESTS
cpack=$1 config=$2 name=$3 wine_run=$4 e2e_tests=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cpack" --config "$config" -B "$work/package" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; exit 1; }
zip="$work/package/$name.zip"
[ -f "$zip" ] || { echo "no $name.zip:"; ls "$work/package"; exit 1; }
# Players download it: the programs in it carry no symbols, which keeps it under 350 KB.
size=$(stat -c %s "$zip")
[ "$size" -lt 358400 ] || { echo "$name.zip is $size bytes, more than 350 KB"; exit 1; }

mkdir "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$zip") || exit 1
files=$(cd "$work/unpacked" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' ')
expected='./Config.Strdb00p ./ConfigApp.exe ./LexoraRuntime.dll ./README.txt '
[ "$files" = "$expected" ] || { echo "the package holds: $files"; exit 1; }

# Wine shows the Linux root as drive Z:.
LAUNCHER_INSTALLATION="Z:$(printf '%s' "$work/unpacked" | tr / '\\')" \
  "$wine_run" "$e2e_tests" --gtest_filter=EndToEndTest.OkSavesTheSettingsStartsTheGameAndCloses

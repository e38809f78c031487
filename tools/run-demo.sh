#!/usr/bin/env bash
# Builds the launcher, lays out a demo installation (launcher, string library and database,
# gamecfg.txt and the stand-in game) in build/demo and runs the launcher there under Wine.
#
# With an X display the launcher simply opens: use it as a player would; OK starts the
# stand-in game, which shows what it received. Without a display it runs on a virtual one,
# saves a screenshot of each page, presses OK, and prints the settings.cfg it wrote and the
# stand-in game's report.
#
# It runs the shipped 32-bit launcher, or the 64-bit build of the same launcher (with its own
# string library) where this machine runs no 32-bit code.
#
# Usage: tools/run-demo.sh [--lang <language>] [--dpi <dots per inch>]
#   --lang  the texts to ship and show, strings/Config.<language>.txt (default en)
#   --dpi   the screen resolution Wine reports (default 96; 144 is 150 %)
# The screenshots are named <page>-<language>-<dpi>dpi.png.
set -euo pipefail
cd "$(dirname "$0")/.."

lang=en
dpi=96
while [ $# -gt 0 ]; do
  case "$1" in
    --lang) lang=${2:?--lang needs a language}; shift 2 ;;
    --dpi) dpi=${2:?--dpi needs a number}; shift 2 ;;
    *) echo "usage: tools/run-demo.sh [--lang <language>] [--dpi <dots per inch>]" >&2; exit 2 ;;
  esac
done
# The Wine wrapper runs in a prefix of that resolution; 96 is the default prefix's own.
wineprefix_suffix=
if [ "$dpi" != 96 ]; then
  export WINE_RUN_DPI=$dpi
  wineprefix_suffix=-dpi$dpi
fi

tools/install-deps.sh
source tools/windows-programs.sh
echo "$windows_programs_line"
preset=${WINDOWS_PRESETS%% *}
[ -z "$WINDOWS_32BIT_WHY" ] || echo "run-demo: running the x86_64 build of the launcher instead"
cmake --preset "$preset" -DCONFIG_LANGUAGE="$lang" >/dev/null
cmake --build --preset "$preset"

build=build/$preset
demo=$PWD/build/demo
rm -rf "$demo"
cmake --install "$build" --prefix "$demo" --component launcher >/dev/null
cmake --install "$build" --prefix "$demo" --component demo >/dev/null
echo "run-demo: demo installation in $demo:"
ls "$demo"

root=$PWD
wine_run=$root/$build/wine-run.sh
cd "$demo"

if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  echo "run-demo: starting the launcher on $DISPLAY"
  exec "$wine_run" ConfigApp.exe
fi

source "$root/tools/virtual-display.sh"
# Wine shows the Linux root as drive Z:.
export DRAV_STANDIN_REPORT="Z:${demo//\//\\}\\game-report.txt"
echo "run-demo: no display of your own; running the launcher on the virtual display $DISPLAY"
"$wine_run" "$root/$build/bin/ConfigDriver.exe" ConfigApp.exe .
for page in display options; do
  shot=$page-$lang-${dpi}dpi.png
  convert "$page.bmp" "$shot" && rm "$page.bmp"
  echo "run-demo: screenshot of the ${page^} page: $demo/$shot"
done

wineprefix=$root/$build/wineprefix$wineprefix_suffix
settings="$wineprefix/drive_c/users/Public/Documents/Kerrowind/DRAV/settings.cfg"
echo
echo "=== settings.cfg written by the launcher ($settings):"
tr -d '\r' <"$settings"
echo
echo "=== what the stand-in game received ($demo/game-report.txt):"
for _ in $(seq 300); do [ -s game-report.txt ] && break; sleep 0.1; done
cat game-report.txt 2>/dev/null || echo "run-demo: the stand-in game wrote no report" >&2
# Ends Wine's helper processes before the virtual display goes away.
WINEPREFIX="$wineprefix" wineserver -k 2>/dev/null || true
ran="run-demo: done; the $preset launcher ran"
echo "$ran${WINDOWS_32BIT_WHY:+ (not the i686 one: $WINDOWS_32BIT_WHY)}"

#!/usr/bin/env bash
# How long the launcher takes to show its sheet, against the floor: a bare two-page sheet with
# the launcher's templates and manifest and one Direct3D 9 enumeration (tools/benchmark/).
#
#   tools/startup-benchmark.sh [runs]      (default 9)
#
# Builds what it needs, lays out an installation in build/<preset>/startup-benchmark/ (the
# launcher with its library, the English database and the stand-in game it enumerates for,
# and the floor beside it), puts a player's settings.cfg into the build's Wine prefix, and
# starts the floor and the launcher from that folder, alternated, `runs` times each after one
# start of each that is not counted. Prints each one's median and the ratio of the medians,
# with the machine's load before and after; every start's figure stays in
# build/<preset>/startup-benchmark/raw-<date>.txt. Nothing else should run in the build's Wine
# prefix meanwhile (the tests use it too).
#
# It runs the shipped 32-bit launcher, or the 64-bit build where this machine runs no 32-bit
# code.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${1:-9}
if ! [[ "$runs" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: tools/startup-benchmark.sh [runs]" >&2
  exit 2
fi

tools/install-deps.sh
source tools/windows-programs.sh
echo "$windows_programs_line"
preset=${WINDOWS_PRESETS%% *}
build=build/$preset
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target ConfigApp lexora_runtime string_database_en \
  standin_game_retail StartupFloor StartupBenchmark >/dev/null

folder=$PWD/$build/startup-benchmark
installation=$folder/installation
rm -rf "$installation"
mkdir -p "$installation"
for file in ConfigApp.exe LexoraRuntime.dll DRAV.exe StartupFloor.exe; do
  cp "$build/bin/$file" "$installation/"
done
cp "$build/bin/Config.en.Strdb00p" "$installation/Config.Strdb00p"
cp standins/game/gamecfg.txt "$installation/"
caption=$(sed -n 's/^WindowTitle = //p' strings/Config.en.txt)

source tools/virtual-display.sh
wine_run=$PWD/$build/wine-run.sh
"$wine_run" --prepare
# A player's settings, as the launcher writes them, so that every start reads the same file.
settings_folder=$PWD/$build/wineprefix/drive_c/users/Public/Documents/Kerrowind/DRAV
mkdir -p "$settings_folder"
printf '"%s" "%s"\n' DisableMovies 1 DeviceName '\\.\DISPLAY1' ScreenWidth 1280 \
  ScreenHeight 1024 BitDepth 32 >"$settings_folder/settings.cfg"

raw=$folder/raw-$(date -u +%Y%m%d-%H%M%S).txt
echo "startup-benchmark: $runs runs each on $preset; load before: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
(cd "$installation" &&
  "$wine_run" "$PWD/../../bin/StartupBenchmark.exe" "$runs" "Z:${raw//\//\\}" "$caption" \
    StartupFloor.exe ConfigApp.exe) || status=$?
echo "startup-benchmark: load after: $(cut -d' ' -f1-3 /proc/loadavg); raw figures: $raw"
# Ends Wine's helper processes before the virtual display goes away.
WINEPREFIX="$PWD/$build/wineprefix" wineserver -k 2>/dev/null || true
exit "$status"

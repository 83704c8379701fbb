#!/bin/sh
# Long-session benchmark of the Windows edition under Wine: working set after 100 New Games
# and after NEW_GAMES (default 1000), with the language switched every SWITCH_EVERY games
# (0: never). The target is that the size after all of them stays within 0.5 MiB of the size
# after 100 (the first games fill the caches that every later game reuses).
#   bench/newgame_memory-windows.sh [NEW_GAMES] [SWITCH_EVERY] [WINDOWS_BUILD_DIR]
set -e
games=${1:-1000}
switch=${2:-0}
build=${3:-build/windows}
driver="$PWD/$build/bench/newgame_memory_win32.exe"
[ -f "$driver" ] || {
    echo "build first: cmake --build --preset windows --target newgame_memory_win32 quintaro"
    exit 2
}
out=$(mktemp)
# A copy of the game's folder: switching the language writes settings.ini.
folder=$(mktemp -d)
cp -r "$build/game/." "$folder"
rm -f "$folder/settings.ini"
# The Wine prefix of the build folder, as the tests use it.
export QUINTARO_WINEPREFIX="$PWD/$build/wine"
run="sh tools/wine-run.sh $driver Z:$folder $games $switch"
if [ -z "$DISPLAY" ]; then
    xvfb-run -a -s "-screen 0 1024x768x24" $run 2>/dev/null | tee "$out"
else
    $run 2>/dev/null | tee "$out"
fi
rm -rf "$folder"
first=$(sed -n 's/^games=100 rss_kib=\([0-9]*\)\r*$/\1/p' "$out")
last=$(sed -n "s/^games=$games rss_kib=\([0-9]*\)\r*\$/\1/p" "$out")
rm -f "$out"
growth=$((last - first))
echo "growth from 100 to $games New Games: $growth KiB (target at most 512 KiB)"
[ "$growth" -le 512 ]

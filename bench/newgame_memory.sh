#!/bin/sh
# Long-session benchmark: resident size after 100 New Games and after NEW_GAMES (default
# 1000), with the language switched every SWITCH_EVERY games (0: never). The target is that
# the size after all of them stays within 0.5 MiB of the size after 100 (the first games
# fill the caches that every later game reuses).
#   bench/newgame_memory.sh [NEW_GAMES] [SWITCH_EVERY] [BUILD_DIR]
set -e
games=${1:-1000}
switch=${2:-0}
build=${3:-build/default}
driver="$build/bench/newgame_memory"
[ -x "$driver" ] || { echo "build first: cmake --build --preset default"; exit 2; }
out=$(mktemp)
# A copy of the game's folder: switching the language writes settings.ini.
folder=$(mktemp -d)
cp -r "$build/game/." "$folder"
rm -f "$folder/settings.ini"
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy XDG_RUNTIME_DIR=$(mktemp -d) \
    "$driver" "$folder" "$games" "$switch" 2>/dev/null | tee "$out"
rm -rf "$folder"
first=$(sed -n 's/^games=100 rss_kib=\([0-9]*\)$/\1/p' "$out")
last=$(sed -n "s/^games=$games rss_kib=\([0-9]*\)\$/\1/p" "$out")
rm -f "$out"
growth=$((last - first))
echo "growth from 100 to $games New Games: $growth KiB (target at most 512 KiB)"
[ "$growth" -le 512 ]

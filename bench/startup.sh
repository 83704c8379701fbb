#!/bin/sh
# Start-up benchmark: time from process start to the first visible window (the new-game
# dialog) and peak memory, median of several runs under Xvfb.
#   bench/startup.sh [RUNS] [BUILD_DIR]
# Targets on the reference machine: median at most 120 ms and at most 45 MiB resident.
set -e
runs=${1:-15}
build=${2:-build/default}
probe="$build/bench/startup_probe"
game="$build/game"
[ -x "$probe" ] || { echo "build first: cmake --build --preset default"; exit 2; }
out=$(mktemp)
# The first run warms the file cache; it is not counted.
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
    '$probe' '$PWD/$game/quintaro' '$PWD/$game' >/dev/null
    for i in \$(seq $runs); do '$probe' '$PWD/$game/quintaro' '$PWD/$game'; done" > "$out"
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
echo "runs: $runs"
echo "start-up to first window, median ms: $(sed -n 's/.*startup_ms=\([0-9.]*\).*/\1/p' "$out" | median)"
echo "resident at first window, median KiB: $(sed -n 's/.*rss_kib=\([0-9]*\).*/\1/p' "$out" | median)"
echo "peak resident after 0.5 s, median KiB: $(sed -n 's/.*peak_kib=\([0-9]*\).*/\1/p' "$out" | median)"
rm -f "$out"

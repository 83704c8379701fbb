#!/bin/sh
# Start-up benchmark: time from process start to the first visible window (the new-game
# dialog) and resident memory, against a bare Qt window of the same size (bench/bare_window)
# started alternately with the game in the same run under Xvfb, so that both see the same
# machine load. Medians of RUNS runs each.
#   bench/startup.sh [RUNS] [BUILD_DIR]
# Targets: the game at most 1.2 times the bare window's time and 1.15 times its memory.
set -e
runs=${1:-15}
build=${2:-build/default}
probe="$build/bench/startup_probe"
bare="$build/bench/bare_window"
game="$build/game"
[ -x "$probe" ] && [ -x "$bare" ] || { echo "build first: cmake --build --preset default"; exit 2; }
out=$(mktemp)
# The first run of each warms the file cache; it is not counted.
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
    '$probe' '$PWD/$game/quintaro' '$PWD/$game' >/dev/null
    '$probe' '$PWD/$bare' '$PWD/$game' >/dev/null
    for i in \$(seq $runs); do
        echo game \$('$probe' '$PWD/$game/quintaro' '$PWD/$game')
        echo bare \$('$probe' '$PWD/$bare' '$PWD/$game')
    done" > "$out"
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
field() { sed -n "s/^$1 .*$2=\([0-9.]*\).*/\1/p" "$out" | median; }
echo "runs: $runs each, alternating"
for what in game bare; do
    echo "$what: first window, median ms: $(field $what startup_ms);" \
        "resident at first window, median KiB: $(field $what rss_kib);" \
        "peak resident after 0.5 s, median KiB: $(field $what peak_kib)"
done
time_ratio=$(awk -v g="$(field game startup_ms)" -v b="$(field bare startup_ms)" 'BEGIN {printf "%.2f", g / b}')
memory_ratio=$(awk -v g="$(field game rss_kib)" -v b="$(field bare rss_kib)" 'BEGIN {printf "%.2f", g / b}')
peak_ratio=$(awk -v g="$(field game peak_kib)" -v b="$(field bare peak_kib)" 'BEGIN {printf "%.2f", g / b}')
rm -f "$out"
echo "game / bare window: time $time_ratio (target at most 1.20)," \
    "memory $memory_ratio (target at most 1.15), peak $peak_ratio"
awk -v t="$time_ratio" -v m="$memory_ratio" 'BEGIN {exit !(t <= 1.20 && m <= 1.15)}'

#!/bin/sh
# Start-up benchmark: time from process start to the first visible window (the new-game
# dialog) and resident memory, against a bare Qt window of the same size (bench/bare_window)
# started alternately with the game in the same run under Xvfb, so that both see the same
# machine load. Medians of RUNS runs each.
#   bench/startup.sh [RUNS] [BUILD_DIR]
# Targets: the game at most 1.2 times the bare window's time and 1.15 times its memory.
set -e
. "$(dirname "$0")/startup-summary.sh"
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
echo "runs: $runs each, alternating"
status=0
summarise "$out" "bare window" 1.20 1.15 || status=$?
rm -f "$out"
exit $status

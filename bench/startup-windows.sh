#!/bin/sh
# Start-up benchmark of the Windows edition under Wine: time from process start to the first
# visible window (the new-game dialog) and resident memory then, against a bare Win32
# program with one window of the same size (bench/bare_win32.cpp), started alternately in
# the same run under Xvfb with a Wine server kept warm, so that both see the same load.
# Medians of RUNS runs each (31 unless given): a single start under Wine varies by a third
# with the machine's load, so medians of 11 still differ by 0.1 from one run to the next.
#   bench/startup-windows.sh [RUNS] [WINDOWS_BUILD_DIR] [LINUX_BUILD_DIR]
# The probe (bench/startup_probe) comes from a Linux build. Targets: the game at most 1.15
# times the bare program's time and 1.25 times its memory.
set -e
runs=${1:-31}
build=${2:-build/windows}
linux=${3:-build/ci}
probe="$linux/bench/startup_probe"
game="$PWD/$build/game"
bare="$PWD/$build/bench/bare_win32.exe"
[ -x "$probe" ] || { echo "build the probe first: cmake --build --preset ci --target startup_probe"; exit 2; }
[ -f "$game/quintaro.exe" ] && [ -f "$bare" ] || { echo "build first: cmake --build --preset windows"; exit 2; }
export WINEPREFIX="$PWD/$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
# The probe starts a program without arguments: one small starter each, which becomes Wine.
dir=$(mktemp -d)
printf '#!/bin/sh\nexec %s %s\n' "$wine" "$game/quintaro.exe" > "$dir/game"
printf '#!/bin/sh\nexec %s %s\n' "$wine" "$bare" > "$dir/bare"
chmod +x "$dir/game" "$dir/bare"
out="$dir/out"
# A server left running in this prefix would keep its desktop on another display.
wineserver -k 2>/dev/null || true
xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
    wineserver -p
    # The first run of each warms the file cache and the server; it is not counted.
    '$probe' '$dir/game' '$game' >/dev/null
    '$probe' '$dir/bare' '$game' >/dev/null
    for i in \$(seq $runs); do
        echo game \$('$probe' '$dir/game' '$game')
        echo bare \$('$probe' '$dir/bare' '$game')
    done
    wineserver -k" > "$out" 2>/dev/null
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
field() { sed -n "s/^$1 .*$2=\([0-9.]*\).*/\1/p" "$out" | median; }
echo "runs: $runs each, alternating, warm Wine server"
for what in game bare; do
    echo "$what: first window, median ms: $(field $what startup_ms);" \
        "resident at first window, median KiB: $(field $what rss_kib);" \
        "peak resident after 0.5 s, median KiB: $(field $what peak_kib)"
done
time_ratio=$(awk -v g="$(field game startup_ms)" -v b="$(field bare startup_ms)" 'BEGIN {printf "%.2f", g / b}')
memory_ratio=$(awk -v g="$(field game rss_kib)" -v b="$(field bare rss_kib)" 'BEGIN {printf "%.2f", g / b}')
rm -rf "$dir"
echo "game / bare program: time $time_ratio (target at most 1.15)," \
    "memory $memory_ratio (target at most 1.25)"
awk -v t="$time_ratio" -v m="$memory_ratio" 'BEGIN {exit !(t <= 1.15 && m <= 1.25)}'

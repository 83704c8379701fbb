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
. "$(dirname "$0")/startup-summary.sh"
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
echo "runs: $runs each, alternating, warm Wine server"
status=0
summarise "$out" "bare program" 1.15 1.25 || status=$?
rm -rf "$dir"
exit $status

#!/bin/sh
# Runs a cross-built Windows program under Wine: the test runner of the windows preset.
#   tools/wine-run.sh program.exe [arguments...]
# The Wine prefix lives in the build folder (QUINTARO_WINEPREFIX overrides it) and is made on
# first use, without any dialog. Without a DISPLAY, programs that open windows need one:
# run ctest under xvfb-run (setup.sh does).
# Nothing here waits without bound: the program gets QUINTARO_WINE_TIMEOUT seconds (default
# 280, inside the 300 CTest gives a test executable), Wine's set-up and server waits their own
# limits, and whatever the program wrote is shown even when it is stopped.
set -e
program=$1
shift
if [ -z "$QUINTARO_WINEPREFIX" ]; then
    # build/windows/<subfolder>/x.exe -> build/windows/wine; found by walking up to CMakeCache.txt.
    dir=$(cd "$(dirname "$program")" && pwd)
    while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
    [ "$dir" = / ] && dir=${TMPDIR:-/tmp}
    QUINTARO_WINEPREFIX=$dir/wine
fi
WINEPREFIX=$QUINTARO_WINEPREFIX
WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer prompts; no desktop menu entries.
WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export WINEPREFIX WINEDEBUG WINEDLLOVERRIDES
if command -v wine64 >/dev/null 2>&1; then
    wine=wine64
elif [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64
else
    wine=wine
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # One prefix set-up at a time, however many tests start together.
    (
        if ! flock -w 240 9; then
            echo "wine-run.sh: waited 240 s in vain for another test's Wine set-up" >&2
            exit 1
        fi
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            timeout 180 $wine wineboot -i >/dev/null 2>&1 ||
                echo "wine-run.sh: Wine's set-up did not finish within 180 s" >&2
            # Wine draws the window frames itself instead of waiting on a window manager,
            # which Xvfb does not have (each window would cost a second's time-out).
            timeout 60 $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                >/dev/null 2>&1 || true
            timeout 60 wineserver -w 2>/dev/null || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi
# A Wine server that stays up a little after the last program ends, so that a run of tests
# does not start one for every program. Nothing happens when one is already up.
wineserver -p15 >/dev/null 2>&1 || true
# Wine's own processes (services, the desktop) that this program starts outlive it and keep
# the output it was given. A pipe that never closes would keep the test runner waiting as
# long as any other test keeps Wine up, so the program writes into files, shown when it ends.
# The output is shown however the run ends: by itself, by the time limit, or by CTest's.
out=$(mktemp)
err=$(mktemp)
show() {
    cat "$out"
    cat "$err" >&2
    rm -f "$out" "$err"
}
trap show EXIT
trap 'echo "wine-run.sh: $program stopped from outside" >&2; exit 143' TERM INT
limit=${QUINTARO_WINE_TIMEOUT:-280}
status=0
timeout -k 10 "$limit" $wine "$program" "$@" >"$out" 2>"$err" </dev/null || status=$?
if [ "$status" = 124 ] || [ "$status" = 137 ]; then
    echo "wine-run.sh: $program did not end within $limit s; stopped" >&2
fi
exit $status

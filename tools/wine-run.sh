#!/bin/sh
# Runs a cross-built Windows program under Wine: the test runner of the windows preset.
#   tools/wine-run.sh program.exe [arguments...]
# The Wine prefix lives in the build folder (QUINTARO_WINEPREFIX overrides it) and is made on
# first use, without any dialog. Without a DISPLAY, programs that open windows need one:
# run ctest under xvfb-run (setup.sh does).
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
        flock 9
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            $wine wineboot -i >/dev/null 2>&1 || true
            # Wine draws the window frames itself instead of waiting on a window manager,
            # which Xvfb does not have (each window would cost a second's time-out).
            $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
            wineserver -w 2>/dev/null || true
        fi
    ) 9>"$WINEPREFIX.lock"
fi
# A Wine server that stays up a little after the last program ends, so that a run of tests
# does not start one for every program. Nothing happens when one is already up.
wineserver -p15 >/dev/null 2>&1 || true
# Wine's own processes (services, the desktop) that this program starts outlive it and keep
# the output it was given. A pipe that never closes would keep the test runner waiting as
# long as any other test keeps Wine up, so the program writes into files, shown when it ends.
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
status=0
$wine "$program" "$@" >"$out" 2>"$err" </dev/null || status=$?
cat "$out"
cat "$err" >&2
exit $status

#!/bin/sh
# Runs the Windows edition's layout and density tests under Wine at several screen
# densities: the LogPixels value of a Wine prefix of their own, the Wine server restarted
# after each change, on an Xvfb screen large enough for the window at 200 %. Each run has its
# own time limit (tools/wine-run.sh).
#   tests/win32/run-at-dpi.sh WIN32_TEST_EXE [DPI ...]     (default: 96 144 192)
set -e
exe=$1
shift
[ $# -gt 0 ] || set -- 96 144 192
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$(dirname "$exe")/../.." && pwd)
QUINTARO_WINEPREFIX=$build/wine-dpi
WINEPREFIX=$QUINTARO_WINEPREFIX
export QUINTARO_WINEPREFIX WINEPREFIX
run="$root/tools/wine-run.sh"
filter='Dpi.*:MainWindowTest.LayoutForTwoThreeAndFourPlayers'
failed=0
for dpi in "$@"; do
    # The density is read when the Wine server starts.
    "$run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
        >/dev/null 2>&1
    "$run" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    timeout 60 wineserver -w 2>/dev/null || true
    echo "== $dpi DPI"
    # Three runs share the test's 600 seconds.
    if ! QUINTARO_WINE_TIMEOUT=150 QUINTARO_EXPECT_DPI=$dpi xvfb-run -a -s '-screen 0 1600x1200x24' \
        "$run" "$exe" --gtest_brief=1 --gtest_filter="$filter"; then
        failed=1
    fi
    wineserver -k 2>/dev/null || true
done
exit $failed

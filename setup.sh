#!/bin/sh
# Sets up Quintaro on a Debian 12 machine and starts it or tests it:
#   sh setup.sh play   installs what is missing, builds, and starts the game
#   sh setup.sh test   installs what is missing, builds, and runs every test
#   sh setup.sh windows  builds the Windows edition and packs dist/quintaro-windows-x64.zip
#                        and the installer dist/quintaro-<version>-setup.exe
#   sh setup.sh deb    builds the Debian package dist/quintaro_<version>_amd64.deb
#   sh setup.sh web    builds the browser edition into dist/web/ and dist/quintaro-web.zip,
#                      then serves dist/web/ on 127.0.0.1 and prints the address to open
set -e
cd "$(dirname "$0")"
case "$1" in
    play | test | windows | deb | web) ;;
    *)
        echo "usage: sh setup.sh play|test|windows|deb|web" >&2
        exit 2
        ;;
esac
sh tools/install-deps.sh
if [ "$1" = windows ]; then
    exec sh tools/package-windows.sh
fi
if [ "$1" = deb ]; then
    exec sh tools/package-deb.sh
fi
if [ "$1" = web ]; then
    sh tools/package-web.sh
    exec node web/serve.mjs dist/web "${QUINTARO_PORT:-8080}"
fi
if [ "$1" = play ]; then
    cmake --preset default
    cmake --build --preset default
    # The game finds its files in its current folder: the build's copy of assets/.
    cd build/default/game
    exec ./quintaro
fi
# No test needs a display or a sound server.
QT_QPA_PLATFORM=offscreen
SDL_AUDIODRIVER=dummy
XDG_RUNTIME_DIR=$(mktemp -d)
logs=$(mktemp -d)
export QT_QPA_PLATFORM SDL_AUDIODRIVER XDG_RUNTIME_DIR
trap 'rm -rf "$XDG_RUNTIME_DIR" "$logs"' EXIT

# The suites. Each is one command; every suite runs even when one before it failed.
suite_linux() {
    # The Linux edition, warnings as errors.
    cmake --preset ci && cmake --build --preset ci && ctest --preset ci -j2
}
suite_core() {
    # The core alone, with no Qt, SDL2 or libjpeg on the include path: proves the layering.
    cmake --preset core && cmake --build --preset core && ctest --preset core -j2
}
suite_windows() {
    # The Windows edition, cross-built with MinGW-w64; its tests (the packed zip among them)
    # run under Wine on a private X display, since they open real windows.
    cmake --preset windows && cmake --build --preset windows &&
        xvfb-run -a -s '-screen 0 1024x768x24' ctest --preset windows -j2
    status=$?
    # The Wine server of the build's prefix ends with the tests.
    WINEPREFIX=$PWD/build/windows/wine wineserver -k 2>/dev/null
    return $status
}
suite_web() {
    # The browser edition: built with emscripten, then played in headless Chromium through
    # puppeteer-core with real mouse and key events.
    sh tools/install-web-deps.sh && sh tools/package-web.sh &&
        (cd web/tests && node --test --test-concurrency=1 --test-reporter=tap *.test.js)
}

# run_suite NAME COMMAND...: runs one suite, shows its output and notes a line for the
# summary: "NAME: passed (N tests)" or "NAME: FAILED (...)".
summary=""
failed=0
run_suite() {
    name=$1
    shift
    log=$logs/suite.log
    echo "==== $name"
    { "$@" 2>&1; echo $? >"$log.status"; } | tee "$log"
    result=$(cat "$log.status")
    # ctest's last word on the suite: "... tests passed, F tests failed out of N".
    counts=$(sed -n 's/.* tests passed, \([0-9]*\) tests\{0,1\} failed out of \([0-9]*\).*/\1 \2/p' \
        "$log" | tail -n 1)
    # node's test runner (TAP) ends with "# pass P" and "# fail F".
    if [ -z "$counts" ] && grep -q '^# pass [0-9]' "$log"; then
        pass=$(sed -n 's/^# pass \([0-9]*\)$/\1/p' "$log" | tail -n 1)
        fail=$(sed -n 's/^# fail \([0-9]*\)$/\1/p' "$log" | tail -n 1)
        counts="${fail:-0} $((pass + ${fail:-0}))"
    fi
    line="$name: passed"
    [ "$result" -eq 0 ] || line="$name: FAILED"
    if [ -n "$counts" ]; then
        set -- $counts
        if [ "$1" -eq 0 ]; then
            line="$line ($2 tests)"
        else
            line="$line ($1 of $2 tests failed)"
        fi
    fi
    [ "$result" -eq 0 ] || failed=1
    summary="$summary$line
"
}

# The test command writes nothing into the source tree; what git sees changes is a fault.
tree_before=$(git status --porcelain 2>/dev/null || true)
set +e
run_suite Format sh tools/check-format.sh
run_suite Linux suite_linux
run_suite Core suite_core
run_suite Windows suite_windows
run_suite Web suite_web
# The packages: the Debian package checked as it is packed, the Windows installer installed,
# started and uninstalled under Wine in a prefix of its own.
run_suite Packages sh tools/test-packages.sh
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    tree_after=$(git status --porcelain)
    if [ "$tree_after" = "$tree_before" ]; then
        summary="${summary}Source tree: clean
"
    else
        summary="${summary}Source tree: FAILED (the tests changed what git status shows)
"
        failed=1
        git status --porcelain
    fi
fi
echo "==== Summary"
printf '%s' "$summary"
exit $failed

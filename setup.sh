#!/bin/sh
# Sets up Quintaro on a Debian 12 machine and starts it or tests it:
#   sh setup.sh play   installs what is missing, builds, and starts the game
#   sh setup.sh test   installs what is missing, builds, and runs every test
#   sh setup.sh windows  builds the Windows edition and packs dist/quintaro-windows-x64.zip
#                        and the installer dist/quintaro-<version>-setup.exe
#   sh setup.sh deb    builds the Debian package dist/quintaro_<version>_amd64.deb
set -e
cd "$(dirname "$0")"
case "$1" in
    play | test | windows | deb) ;;
    *)
        echo "usage: sh setup.sh play|test|windows|deb" >&2
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
export QT_QPA_PLATFORM SDL_AUDIODRIVER XDG_RUNTIME_DIR
# Every C++ file formatted as .clang-format says.
sh tools/check-format.sh
# The Linux edition, warnings as errors.
cmake --preset ci
cmake --build --preset ci
ctest --preset ci -j2
# The core alone, with no Qt, SDL2 or libjpeg on the include path: proves the layering.
cmake --preset core
cmake --build --preset core
ctest --preset core -j2
# The Windows edition, cross-built with MinGW-w64; its tests run under Wine on a private X
# display (they open real windows).
cmake --preset windows
cmake --build --preset windows
status=0
xvfb-run -a -s '-screen 0 1024x768x24' ctest --preset windows -j2 || status=$?
# The Wine server of the build's prefix ends with the tests.
WINEPREFIX=$PWD/build/windows/wine wineserver -k 2>/dev/null || true
# The packages: the Debian package checked as it is packed, the Windows installer installed,
# started and uninstalled under Wine in a prefix of its own.
sh tools/test-packages.sh || status=$?
exit $status

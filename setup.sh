#!/bin/sh
# Sets up Quintaro on a Debian 12 machine and starts it or tests it:
#   sh setup.sh play   installs what is missing, builds, and starts the game
#   sh setup.sh test   installs what is missing, builds, and runs every test
set -e
cd "$(dirname "$0")"
case "$1" in
    play | test) ;;
    *)
        echo "usage: sh setup.sh play|test" >&2
        exit 2
        ;;
esac
sh tools/install-deps.sh
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

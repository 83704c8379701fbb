#!/bin/sh
# Installs the Debian packages the game needs to build, run and test, if any is missing.
# The browser edition: emscripten builds it, node serves and tests it, chromium runs the tests.
set -e
packages="g++ clang cmake ninja-build make pkg-config qt6-base-dev libgl-dev libsdl2-dev libjpeg-dev \
libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-liberation2 imagemagick sox desktop-file-utils appstream qt6-translations-l10n clang-format \
dpkg-dev lintian nsis x11-utils \
g++-mingw-w64-x86-64-posix wine wine64 \
emscripten chromium zip"
# node and npm may come from elsewhere than Debian (its npm would clash with them): only
# when the commands are missing are Debian's packages asked for.
command -v node >/dev/null 2>&1 || packages="$packages nodejs"
command -v npm >/dev/null 2>&1 || packages="$packages npm"
missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing

#!/bin/sh
# Builds the browser edition and puts together what a static web host serves: dist/web/
# (the page, its scripts, the core's WebAssembly, the service worker and the game's files)
# and the same files in dist/quintaro-web.zip.
#   sh tools/package-web.sh             builds, then packs
#   sh tools/package-web.sh --no-build  packs what build/web/site holds
set -e
cd "$(dirname "$0")/.."
if [ "$1" != --no-build ]; then
    NODE_PATH=/usr/share/nodejs cmake --preset web
    cmake --build --preset web -j2
fi
rm -rf dist/web dist/quintaro-web.zip
mkdir -p dist/web
# The site is what its service worker caches, and the worker itself: a file an earlier build
# left in build/web/site is not shipped.
files=$(sed -n 's|^  "\./\([^"/][^"/]*\)",$|\1|p' build/web/site/sw.js)
for f in sw.js $files; do
    cp "build/web/site/$f" dist/web/
done
cp LICENSE dist/web/LICENSE.txt
archive=$(pwd)/dist/quintaro-web.zip
(cd dist/web && cmake -E tar cf "$archive" --format=zip -- *)
echo "dist/web/: $(ls dist/web | wc -l) files; dist/quintaro-web.zip: $(wc -c <dist/quintaro-web.zip) bytes"

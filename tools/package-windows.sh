#!/bin/sh
# Builds the Windows edition and packs it with the game's files into
# dist/quintaro-windows-x64.zip. The text files get CR LF line ends, as Windows programs
# expect; the others go in byte for byte.
#   sh tools/package-windows.sh             builds, then packs
#   sh tools/package-windows.sh --no-build  packs what build/windows holds (the release test)
set -e
cd "$(dirname "$0")/.."
if [ "$1" != --no-build ]; then
    cmake --preset windows
    cmake --build --preset windows --target quintaro
fi
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/quintaro"
cp build/windows/game/quintaro.exe "$stage/quintaro/"
for file in dice.wav pvp_0.jpg pvc_0.jpg; do
    cp "assets/$file" "$stage/quintaro/"
done
for file in en.lang de.lang bg.lang rules.txt; do
    # Every line ends in CR LF, whether it had one or not.
    sed 's/\r*$/\r/' "assets/$file" >"$stage/quintaro/$file"
done
mkdir -p dist
rm -f dist/quintaro-windows-x64.zip
archive=$(pwd)/dist/quintaro-windows-x64.zip
(cd "$stage/quintaro" && cmake -E tar cf "$archive" --format=zip -- *)
echo "dist/quintaro-windows-x64.zip: $(wc -c <dist/quintaro-windows-x64.zip) bytes"

#!/bin/sh
# Builds the Windows edition and packs it with the game's files, and the licence, into
# dist/quintaro-windows-x64.zip, and the same files into the per-user installer
# dist/quintaro-<version>-setup.exe (packaging/windows/quintaro.nsi). The text files get
# CR LF line ends, as Windows programs expect; the others go in byte for byte.
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
sed 's/\r*$/\r/' LICENSE >"$stage/quintaro/LICENSE.txt"
mkdir -p dist
rm -f dist/quintaro-windows-x64.zip
archive=$(pwd)/dist/quintaro-windows-x64.zip
(cd "$stage/quintaro" && cmake -E tar cf "$archive" --format=zip -- *)
echo "dist/quintaro-windows-x64.zip: $(wc -c <dist/quintaro-windows-x64.zip) bytes"

version=$(sh tools/project-version.sh)
setup=dist/quintaro-$version-setup.exe
rm -f "$setup"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$stage/quintaro" \
    -DSOURCE="$(pwd)" -DOUTFILE="$(pwd)/$setup" packaging/windows/quintaro.nsi
echo "$setup: $(wc -c <"$setup") bytes"

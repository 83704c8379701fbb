#!/bin/sh
# Prints the game's version, as the top CMakeLists.txt gives it in project(... VERSION x.y.z):
# the one place both packages take it from.
cd "$(dirname "$0")/.."
version=$(sed -n 's/^project(Quintaro VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
if [ -z "$version" ]; then
    echo "project-version.sh: no project(Quintaro VERSION ...) in CMakeLists.txt" >&2
    exit 1
fi
echo "$version"

#!/bin/sh
# Checks that every C++ file of the project is formatted as .clang-format says.
cd "$(dirname "$0")/.." || exit 2
find . -path ./build -prune -o -path ./dist -prune -o -path ./web/tests/node_modules -prune -o -path './fuzz/corpus' -prune -o \
    \( -name '*.cpp' -o -name '*.h' \) -print | sort | xargs clang-format --dry-run -Werror

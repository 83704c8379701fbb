#!/bin/sh
# Line coverage of the core by the fuzz corpora: builds the core's libFuzzer targets with
# clang's source-based coverage (build/fuzz-coverage, no sanitizers), runs every input of
# fuzz/corpus/<name>/ once (plus any folders given as NAME=FOLDER, e.g. a corpus grown by
# tools/run-fuzzers.sh), and prints llvm-cov's report per file.
#   tools/fuzz-coverage.sh [keyvalue=FOLDER ...]
set -e
cd "$(dirname "$0")/.."
build=build/fuzz-coverage
flags="-fprofile-instr-generate -fcoverage-mapping -fsanitize=fuzzer-no-link"
cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DQUINTARO_QT=OFF -DQUINTARO_FUZZ=ON -DQUINTARO_TESTS=OFF \
    -DQUINTARO_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_C_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
targets="keyvalue_fuzz number_fuzz wave_fuzz picture_header_fuzz"
cmake --build $build --target $targets >/dev/null
rm -rf $build/profiles
mkdir -p $build/profiles
for target in $targets; do
    name=${target%_fuzz}
    folders=fuzz/corpus/$name
    for extra in "$@"; do
        case $extra in "$name="*) folders="$folders ${extra#*=}" ;; esac
    done
    LLVM_PROFILE_FILE=$PWD/$build/profiles/$name.profraw $build/fuzz/$target -runs=0 $folders \
        >/dev/null 2>&1
done
llvm-profdata merge -sparse $build/profiles/*.profraw -o $build/profiles/all.profdata
objects="$build/fuzz/keyvalue_fuzz -object $build/fuzz/number_fuzz -object $build/fuzz/wave_fuzz \
    -object $build/fuzz/picture_header_fuzz"
# shellcheck disable=SC2086
llvm-cov report $objects -instr-profile=$build/profiles/all.profdata \
    settings/KeyValueFile.cpp settings/SafeFile.cpp settings/Number.cpp media/WaveFile.cpp \
    media/PictureHeader.cpp

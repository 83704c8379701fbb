#!/bin/sh
# Builds the libFuzzer targets (clang, ASan+UBSan) and runs each for the given number of
# seconds (default 60) on a copy of its seed corpus. Findings go to fuzz/findings/.
set -e
seconds=${1:-60}
cd "$(dirname "$0")/.."
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p fuzz/findings
for target in keyvalue_fuzz number_fuzz wave_fuzz picture_header_fuzz picture_fuzz; do
    name=${target%_fuzz}
    work=$(mktemp -d)
    cp -r fuzz/corpus/$name/. "$work"/ 2>/dev/null || true
    echo "== $target for ${seconds}s"
    QT_QPA_PLATFORM=offscreen build/fuzz/fuzz/$target -max_total_time="$seconds" \
        -artifact_prefix=fuzz/findings/$name- -print_final_stats=1 "$work" 2>&1 | \
        grep -E "^(stat::number_of_executed_units|stat::average_exec_per_sec|#[0-9]+ +DONE)|ERROR|SUMMARY" || true
    rm -rf "$work"
done

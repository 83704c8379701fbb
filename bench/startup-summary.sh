# The summary of a start-up benchmark, sourced by bench/startup.sh and
# bench/startup-windows.sh: the medians of the probe's lines "game ..." and "bare ..." in
# OUT, their ratios, and an exit status that says whether the targets were met.
#   summarise OUT BARE_NAME TIME_TARGET MEMORY_TARGET
median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
summarise() {
    out=$1 bare_name=$2 time_target=$3 memory_target=$4
    field() { sed -n "s/^$1 .*$2=\([0-9.]*\).*/\1/p" "$out" | median; }
    ratio() { awk -v g="$(field game "$1")" -v b="$(field bare "$1")" 'BEGIN {printf "%.2f", g / b}'; }
    for what in game bare; do
        echo "$what: first window, median ms: $(field $what startup_ms);" \
            "resident at first window, median KiB: $(field $what rss_kib);" \
            "peak resident after 0.5 s, median KiB: $(field $what peak_kib)"
    done
    time_ratio=$(ratio startup_ms)
    memory_ratio=$(ratio rss_kib)
    echo "game / $bare_name: time $time_ratio (target at most $time_target)," \
        "memory $memory_ratio (target at most $memory_target), peak $(ratio peak_kib)"
    awk -v t="$time_ratio" -v m="$memory_ratio" -v tt="$time_target" -v mt="$memory_target" \
        'BEGIN {exit !(t <= tt && m <= mt)}'
}

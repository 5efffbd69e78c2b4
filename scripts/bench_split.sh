#!/usr/bin/env bash
# Splitting throughput beside `split -l 498` on a page-cached source of about 1 GB, then the peak
# resident memory of one split of a 1 MB and of a 1 GB source. Needs about 3 GB of free space in
# the temporary folder; everything it writes there is removed at the end.
#   scripts/bench_split.sh [build folder] [megabytes]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
megabytes="${2:-1000}"
bench="$build/bench/analisis-tracks-split-bench"
splitOnce="$build/bench/analisis-tracks-split-once"
for program in "$bench" "$splitOnce"; do
    [[ -x "$program" ]] || { echo "build $program first" >&2; exit 1; }
done

echo "== throughput, source of about $megabytes MB, N = 500 against split -l 498"
AT_SPLIT_BENCH_MB="$megabytes" "$bench" --benchmark_counters_tabular=true

work="$(mktemp -d "${TMPDIR:-/tmp}/split-rss-XXXXXX")"
trap 'rm -rf "$work"' EXIT
echo "== peak resident memory of one split"
for size in 1 "$megabytes"; do
    mkdir "$work/$size"
    "$bench" --make-source "$work/$size/track.plt" "$size" >/dev/null
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f "source of $size MB: peak RSS %M KiB, %e s" \
            "$splitOnce" "$work/$size/track.plt" 500 >/dev/null
    else
        echo "source of $size MB: $("$splitOnce" "$work/$size/track.plt" 500)"
    fi
    echo "  $(find "$work/$size" -name 'track.plt.*.plt' | wc -l) files written"
    rm -rf "${work:?}/$size"
done

#!/usr/bin/env bash
# The speed goals, each as whole runs paired in one sitting and the median of seven pairs:
#  - the point count of a 200 MB page-cached track against `wc -l` on it (goal: at most 1.0×);
#  - a split of a 61 MB track, 1000 points per file, on tmpfs, against `split -l 998` (goal: at
#    most 1.1×);
#  - the window's recalculate click on 32,761 points until its labels are written, less the same
#    click on a track of no points (goal: at most 15 ms), and the repaint it leaves pending (goal:
#    at most 8 ms), from build/bench/analisis-tracks-window-timing; the same click and repaint on a
#    day at one point a second (86,400 points) as a GPX and as a FIT file (goals: at most 60 ms
#    and 16 ms); a new horizontal axis on 32,761 points until both profiles are repainted (goal:
#    at most 50 ms).
#   bench/speed_goals.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
lineas="$build/bench/analisis-tracks-lineas-bench"
splitter="$build/bench/analisis-tracks-split-bench"
splitOnce="$build/bench/analisis-tracks-split-once"
window="$build/bench/analisis-tracks-window-timing"
for program in "$lineas" "$splitter" "$splitOnce" "$window"; do
    [[ -x "$program" ]] || { echo "build $program first" >&2; exit 1; }
done
shm="${AT_SPEED_TMPFS:-/dev/shm}"
work="$(mktemp -d "$shm/speed-goals-XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Seconds of one run of the command.
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    echo "$(( end - start ))"
}

# Seven pairs of runs, ours first then theirs; prints the medians and their ratio.
pairs() {
    local name="$1" ours="$2" theirs="$3" clean="${4:-true}"
    local a=() b=()
    for _ in 1 2 3 4 5 6 7; do
        eval "$clean"
        a+=("$(seconds bash -c "$ours")")
        eval "$clean"
        b+=("$(seconds bash -c "$theirs")")
    done
    local ma mb
    ma=$(printf '%s\n' "${a[@]}" | sort -n | sed -n 4p)
    mb=$(printf '%s\n' "${b[@]}" | sort -n | sed -n 4p)
    awk -v n="$name" -v a="$ma" -v b="$mb" \
        'BEGIN { printf "%-6s ours %7.1f ms   theirs %7.1f ms   ratio %.2f\n", n, a / 1e6, b / 1e6, a / b }'
}

echo "== count: 200 MB track in the page cache against wc -l"
"$splitter" --make-source "$work/count.plt" 200 >/dev/null
cat "$work/count.plt" >/dev/null
pairs count "'$lineas' --count-once '$work/count.plt'" "wc -l '$work/count.plt'"
rm -f "$work/count.plt"

echo "== split: 61 MB track on tmpfs, 1000 points per file, against split -l 998"
mkdir "$work/ours" "$work/theirs"
"$splitter" --make-source "$work/ours/track.plt" 61 >/dev/null
pairs split "'$splitOnce' '$work/ours/track.plt' 1000" \
    "split -a 5 -d -l 998 '$work/ours/track.plt' '$work/theirs/part.'" \
    "find '$work/ours' -name 'track.plt.*' -delete; rm -f '$work/theirs'/*"
rm -rf "$work/ours" "$work/theirs"

echo "== window: click to labels (less a track of no points), the pending repaint, a new axis"
QT_QPA_PLATFORM=offscreen "$window" --benchmark_filter='ClickToLabels|PendingRepaint|SwitchAxis' \
    --benchmark_repetitions=7 --benchmark_report_aggregates_only=true 2>/dev/null |
    awk '/_median/ { sub(/\/real_time_median/, "", $1); time[$1] = $2 }
         END {
             printf "click to labels %.1f ms (%.1f ms less %.2f ms)\n",
                    time["ClickToLabels/points:32761"] - time["ClickToLabels/points:0"],
                    time["ClickToLabels/points:32761"], time["ClickToLabels/points:0"]
             printf "pending repaint %.1f ms\n", time["PendingRepaint"]
             printf "new horizontal axis to repaint %.1f ms\n", time["SwitchAxisAndRepaint"]
             for (fit = 0; fit <= 1; ++fit) {
                 printf "a day as %s: click to labels %.1f ms, pending repaint %.1f ms\n",
                        fit ? "FIT" : "GPX", time["DayClickToLabels/fit:" fit],
                        time["DayPendingRepaint/fit:" fit]
             }
         }'

#!/usr/bin/env bash
# GPX and FIT tracks through the command-line companion, whole process, beside gpsbabel converting
# the same GPX in the same run, and a day at one point a second (86,400 points) beside expat's own
# checker xmlwf reading the same GPX; then the peak resident memory of the GPX reader alone on a
# 3 MB and a 300 MB track, to show that it reads in constant memory, and that of the command line
# and of the window analysing the day. Needs about 300 MB of free space in the temporary folder;
# everything it writes there is removed at the end.
#   scripts/bench_formats.sh [build folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
bench="$build/bench/analisis-tracks-track-formats-bench"
[[ -x "$bench" ]] || { echo "build $bench first" >&2; exit 1; }
cli="$build/cli/analisis-tracks-cli"
snapshot="$build/app/analisis-tracks-snapshot"

work="$(mktemp -d "${TMPDIR:-/tmp}/formats-bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT

echo "== 32,000 points: GPX and FIT through analisis-tracks-cli resumen, gpsbabel -o ozi;"
echo "   86,400 points: the day's GPX through analisis-tracks-cli resumen and xmlwf"
"$bench" --benchmark_format=csv 2>/dev/null | tee "$work/times.csv" |
    awk -F, '/^"BM_/ { gsub(/"/, "", $1); printf "  %-45s %8.1f ms\n", $1, $3 }'
awk -F, '
    /^"BM_CliGpx32000/ { cli = $3 }
    /^"BM_GpsbabelGpxToTrack32000/ { babel = $3 }
    /^"BM_CliFit32000/ { fit = $3 }
    /^"BM_CliGpxDay86400/ { day = $3 }
    /^"BM_XmlwfGpxDay86400/ { xmlwf = $3 }
    END {
        if (day > 0 && xmlwf > 0) {
            dayOk = (day <= 3 * xmlwf) ? "ok" : "MISSED"
            printf "  the day: analisis-tracks-cli / xmlwf %.2f times, <= 3 times %s\n", day / xmlwf, dayOk
        }
        if (cli + 0 == 0 || babel + 0 == 0) { print "  (gpsbabel did not run)"; exit }
        printf "  gpsbabel / analisis-tracks-cli on the GPX: %.1f times\n", babel / cli
        gpxOk = (cli <= 40) ? "ok" : "MISSED"
        ratioOk = (babel / cli >= 3) ? "ok" : "MISSED"
        fitOk = (fit <= 30) ? "ok" : "MISSED"
        printf "  targets: GPX <= 40 ms %s, >= 3 times %s, FIT <= 30 ms %s\n", gpxOk, ratioOk, fitOk
    }' "$work/times.csv"

echo "== peak resident memory of the GPX reader alone"
for points in 32000 3200000; do
    "$bench" --make-gpx "$work/track.gpx" "$points"
    size="$(stat -c %s "$work/track.gpx")"
    if [[ -x /usr/bin/time ]]; then
        /usr/bin/time -f "  $((size / 1000000)) MB, $points points: peak RSS %M KiB, %e s" \
            "$bench" --read-once "$work/track.gpx" >/dev/null
    else
        echo "  $((size / 1000000)) MB: $("$bench" --read-once "$work/track.gpx") points"
    fi
    rm -f "$work/track.gpx"
done

echo "== peak resident memory analysing a day at one point a second (86,400 points)"
# Peak resident memory of the command, printed after the label; its own output is dropped.
peak() {
    local label="$1"
    shift
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>&1 || true
    echo "  $label: peak RSS $(tail -1 "$work/rss") KiB"
}
if [[ -x /usr/bin/time ]]; then
    for day in "${TMPDIR:-/tmp}"/analisis-tracks-dia.{gpx,fit}; do
        [[ -f "$day" ]] || continue
        peak "analisis-tracks-cli resumen $(basename "$day")" "$cli" resumen "$day"
        if [[ -x "$snapshot" ]]; then
            QT_QPA_PLATFORM=offscreen peak \
                "the window, $(basename "$day") analysed, point 40000 chosen, saved as a picture" \
                "$snapshot" "$day" "$work/window.png" 40000
        fi
    done
fi

#!/usr/bin/env bash
# Peak resident memory of the point count and of the split on a 1 MB and a 1 GB track file, to
# show that both read in constant memory. Runs the command-line companion from a Release build of
# its own; the count is measured through "resumen", which counts the whole file before it sizes the
# charts (and then refuses a track of more than 32767 points, as the window does).
# Usage: scripts/measure-rss.sh    (needs /usr/bin/time, Debian package "time")
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${AT_RSS_BUILD_DIR:-$root/build-rss}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DANALISIS_TRACKS_GUI=OFF \
    -DANALISIS_TRACKS_TESTS=OFF -DANALISIS_TRACKS_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target analisis-tracks-cli >/dev/null
cli="$build/cli/analisis-tracks-cli"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
header=$'OziExplorer Track Point File Version 2.1\r\nWGS 84\r\nAltitude is in Feet\r\nReserved 3\r\n0,2,255,Ruta,0,0,2,8421376\r\n0\r\n'
line=$'41.652110,-0.881935,0,2096,45123.7361111,15-Jul-23,17:40:00\r\n'
# 1 MiB of point lines, then the big file as 1024 copies of it.
chunk="$work/chunk"
: >"$chunk"
while (($(stat -c %s "$chunk") < 1048576)); do
    for _ in $(seq 1000); do printf '%s' "$line"; done >>"$chunk"
done
truncate -s 1048576 "$chunk"
# Cut back to whole lines.
head -c "$(( $(stat -c %s "$chunk") / ${#line} * ${#line} ))" "$chunk" >"$chunk.lines"

make_track() {
    local file="$1" copies="$2"
    printf '%s' "$header" >"$file"
    for _ in $(seq "$copies"); do cat "$chunk.lines"; done >>"$file"
}
make_track "$work/1mb.plt" 1
make_track "$work/1gb.plt" 1024

peak() {  # peak RSS in KiB of the command
    /usr/bin/time -f '%M' -o "$work/rss" "$@" >/dev/null 2>&1 || true
    tail -1 "$work/rss"
}
printf '%-8s %12s %16s %16s\n' file bytes "count peak KiB" "split peak KiB"
for name in 1mb 1gb; do
    file="$work/$name.plt"
    count="$(peak "$cli" resumen "$file")"
    split="$(peak "$cli" cortar "$file" 1000000000)"
    rm -f "$file".*.plt
    printf '%-8s %12s %16s %16s\n' "$name" "$(stat -c %s "$file")" "$count" "$split"
done

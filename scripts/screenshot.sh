#!/usr/bin/env bash
# Takes docs/screenshot.png: the window under a virtual X server, a sample track analysed and a
# point of the altitude profile chosen.
# Usage: scripts/screenshot.sh [picture.png]   (AT_BUILD_DIR picks the build folder)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${AT_BUILD_DIR:-$root/build}"
picture="$(realpath -m "${1:-$root/docs/screenshot.png}")"
snapshot="$build/app/analisis-tracks-snapshot"
if [ ! -x "$snapshot" ]; then
    "$root/scripts/setup.sh"
fi
mkdir -p "$(dirname "$picture")"
# A fixed 96 dpi and the C locale keep the picture the same from one machine to the next; the
# track is named from the source folder so that no personal path shows.
cd "$root"
env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 \
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    "$snapshot" samples/ruta-sierra.plt "$picture" 1200
echo "$picture"

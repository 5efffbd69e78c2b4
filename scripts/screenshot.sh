#!/usr/bin/env bash
# Takes the pictures in docs/: the window under a virtual X server with a sample track analysed
# and a point of the altitude profile chosen (screenshot.png), the hover read-out
# (hover.png), a zoomed stretch (zoomed-stretch.png), and the first page of the PDF report
# (report.png).
# Usage: scripts/screenshot.sh [folder]   (AT_BUILD_DIR picks the build folder)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${AT_BUILD_DIR:-$root/build}"
docs="$(realpath -m "${1:-$root/docs}")"
snapshot="$build/app/analisis-tracks-snapshot"
cli="$build/cli/analisis-tracks-cli"
if [ ! -x "$snapshot" ] || [ ! -x "$cli" ]; then
    "$root/scripts/setup.sh"
fi
mkdir -p "$docs"
# A fixed 96 dpi and the C locale keep the pictures the same from one machine to the next; the
# track is named from the source folder so that no personal path shows.
cd "$root"
shot() {
    env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 \
        xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" "$snapshot" samples/ruta-sierra.plt "$@"
}
shot "$docs/screenshot.png" 1200
shot "$docs/hover.png" 1200 --hover 1620
shot "$docs/zoomed-stretch.png" 1200 --zoom 900 1700 --stretch 1100 1450 --hover 1300
LC_ALL=C.UTF-8 "$cli" informe samples/ruta-sierra.plt --pdf "$docs/report.pdf"
pdftoppm -r 60 -png -singlefile "$docs/report.pdf" "$docs/report"
rm -f "$docs/report.pdf"
ls "$docs"

#!/usr/bin/env bash
# Takes the pictures in docs/ under a virtual X server:
#   screenshot.png      the window, a sample track analysed and a point of the altitude profile chosen;
#   hover.png           the hover read-out;
#   zoomed-stretch.png  a zoomed stretch;
#   distancia-pulso-vueltas.png  the same walk as a TCX file with heart rate and five laps, the
#                       profiles along the distance covered and the heart rate on the second one;
#   report.png          the first page of the PDF report;
#   informe-recorrido.png  its second page, the route;
#   mapa.png            the "Mapa" window with the stops, a chosen point and a measured stretch,
#                       over tiles drawn by the tests' own tile server on 127.0.0.1;
#   escritorio.png      the window on a desktop with a taskbar (IceWM), under Spanish settings,
#                       with the file dialog of "Cargar" open.
# Usage: scripts/screenshot.sh [folder]   (AT_BUILD_DIR picks the build folder)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${AT_BUILD_DIR:-$root/build}"
docs="$(realpath -m "${1:-$root/docs}")"
snapshot="$build/app/analisis-tracks-snapshot"
tile_server="$build/tests/app/analisis-tracks-test-tile-server"
cli="$build/cli/analisis-tracks-cli"
if [ ! -x "$snapshot" ] || [ ! -x "$cli" ] || [ ! -x "$tile_server" ] || ! command -v icewm >/dev/null; then
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
env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    "$snapshot" samples/ruta-sierra-pulso.tcx "$docs/distancia-pulso-vueltas.png" 1200 \
    --eje distancia --serie Pulso --hover 1350
LC_ALL=C.UTF-8 "$cli" informe samples/ruta-sierra.plt --pdf "$docs/report.pdf"
pdftoppm -r 60 -png -singlefile "$docs/report.pdf" "$docs/report"
pdftoppm -r 60 -png -singlefile -f 2 "$docs/report.pdf" "$docs/informe-recorrido"
rm -f "$docs/report.pdf"

# The map: its tiles come from the tests' tile server on this machine, never from a real one, and
# are kept in a cache of the picture's own.
tiles="$(mktemp -d)"
"$tile_server" >"$tiles/url" &
server=$!
for _ in $(seq 50); do [ -s "$tiles/url" ] && break; sleep 0.1; done
env -u QT_QPA_PLATFORM LC_ALL=C.UTF-8 ANALISIS_TRACKS_TESELAS="$(cat "$tiles/url")" \
    XDG_CACHE_HOME="$tiles" xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    "$snapshot" --mapa samples/ruta-sierra.plt "$docs/mapa.png" 1200 --stretch 1100 1450 \
    --hover 1620 || { kill "$server"; exit 1; }
kill "$server"
rm -rf "$tiles"

# The desktop: a window manager with a taskbar first, then the program as a user with Spanish
# settings starts it (LANG only; Qt's own locale data, no generated C library locale needed).
# IceWM itself runs under C.UTF-8, which every C library has, so that it draws the accented title.
# The user is "usuario", with a home made for the picture that holds the sample tracks, so that
# the file dialog (opened beside the track, as after opening it from the file manager) shows no
# folder of this machine; /home/usuario when it can be made afresh, else a temporary one.
scratch="$(mktemp -d)"
home=/home/usuario
if [ ! -e "$home" ] && mkdir "$home" 2>/dev/null; then
    trap 'rm -rf "$scratch" "$home"' EXIT
else
    trap 'rm -rf "$scratch"' EXIT
    home="$scratch/usuario"
    mkdir "$home"
fi
cp samples/*.plt "$home/"
env -u QT_QPA_PLATFORM -u LC_ALL -u LC_NUMERIC -u LANGUAGE LANG=es_ES.UTF-8 \
    HOME="$home" XDG_RUNTIME_DIR="$scratch" \
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -c '
        LC_ALL=C.UTF-8 icewm >/dev/null 2>&1 &
        manager=$!
        sleep 2
        status=0
        "$1" --escritorio "$3" "$2" 1200 || status=$?
        kill "$manager"
        exit "$status"' screenshot "$snapshot" "$docs/escritorio.png" "$home/ruta-sierra.plt"
ls "$docs"

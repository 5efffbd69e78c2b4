#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
program="$root/build/app/analisis-tracks"
if [ ! -x "$program" ]; then
    echo "La ventana del programa aún no existe en esta versión: solo se ha compilado el núcleo."
    exit 0
fi
exec "$program"

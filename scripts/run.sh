#!/usr/bin/env bash
# Sets up, builds and starts the program; a track named after it is loaded at once.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
exec "${AT_BUILD_DIR:-$root/build}/app/analisis-tracks" "$@"

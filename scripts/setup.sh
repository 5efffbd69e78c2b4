#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds into build/.
# Usage: scripts/setup.sh [extra cmake arguments]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

mapfile -t wanted < <(grep -vE '^\s*(#|$)' "$root/scripts/debian-packages.txt")
missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if ((${#missing[@]})); then
    echo "Instalando paquetes: ${missing[*]}"
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

build="${AT_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${AT_BUILD_TYPE:-Release}" \
    -DANALISIS_TRACKS_GUI=ON "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"

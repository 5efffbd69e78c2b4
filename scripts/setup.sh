#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds into build/.
# Usage: scripts/setup.sh [extra cmake arguments]
# Safe to run again after any failure: a configuration that did not finish is started afresh.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

fail() {
    printf 'scripts/setup.sh: %s\n' "$*" >&2
    exit 1
}

command -v dpkg-query >/dev/null && command -v apt-get >/dev/null ||
    fail "este programa se instala con los paquetes de Debian o Ubuntu (apt-get y dpkg)," \
        "que no hay en este equipo. Los paquetes necesarios están en scripts/debian-packages.txt."

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
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null ||
            fail "faltan paquetes (${missing[*]}) y no se pueden instalar:" \
                "no es usted root y sudo no está instalado." \
                "Instálelos como root (apt-get install ...) y vuelva a ejecutar este script."
        sudo=(sudo)
    fi
    why="compruebe la conexión a la red, los orígenes de apt (/etc/apt/sources.list) y que puede usar sudo"
    "${sudo[@]}" apt-get update -qq ||
        fail "no se ha podido actualizar la lista de paquetes (apt-get update): $why." \
            "Después vuelva a ejecutar este script."
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" ||
        fail "no se han podido instalar los paquetes ${missing[*]}: $why." \
            "Después vuelva a ejecutar este script."
fi

build="${AT_BUILD_DIR:-$root/build}"
configure() {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${AT_BUILD_TYPE:-Release}" \
        -DANALISIS_TRACKS_GUI=ON "$@" >/dev/null
}
# A cache left by a configuration that stopped half way (or by another generator or source
# folder) would make every later run fail the same way: it is thrown away and tried once more.
forget_configuration() {
    rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
}
configured_before=false
[ -f "$build/CMakeCache.txt" ] && configured_before=true
if ! configure "$@"; then
    if $configured_before; then
        echo "La configuración anterior de $build no sirve; se configura de nuevo." >&2
        forget_configuration
        configure "$@" || {
            forget_configuration
            fail "CMake no ha podido configurar el proyecto (el motivo, arriba)."
        }
    else
        forget_configuration
        fail "CMake no ha podido configurar el proyecto (el motivo, arriba)."
    fi
fi
cmake --build "$build" -j "$(nproc)" ||
    fail "la compilación ha fallado (el motivo, arriba); al volver a ejecutar este script se" \
        "compila solo lo que falta."

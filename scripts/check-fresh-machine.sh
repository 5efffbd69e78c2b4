#!/usr/bin/env bash
# Tries the README's quick start as a new user would: a freshly made Debian 12 root (mmdebstrap),
# the commit under test cloned into it, the test command, then the run command with the offscreen
# platform, which must start the window and keep it running. Everything mounted into the root is
# unmounted however the check ends, and the root is removed.
# Usage: scripts/check-fresh-machine.sh   (as root, or through sudo)
# AT_DEBIAN_MIRROR picks another Debian mirror; AT_FRESH_KEEP=1 keeps the root for a look.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env=AT_DEBIAN_MIRROR,AT_FRESH_KEEP "$0" "$@"
fi
for tool in mmdebstrap git chroot findmnt; do
    command -v "$tool" >/dev/null || {
        echo "check-fresh-machine: falta $tool (scripts/setup.sh instala lo necesario)." >&2
        exit 1
    }
done

commit="$(git -C "$root" rev-parse HEAD)"
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "check-fresh-machine: aviso: hay cambios sin confirmar; se prueba el commit $commit." >&2
fi
work="$(mktemp -d /var/tmp/analisis-tracks-fresh.XXXXXX)"
rootfs="$work/root"
started=$SECONDS

# Every mount below the root, deepest first.
mounts_below() {
    findmnt -rn -o TARGET | awk -v top="$rootfs/" 'index($0, top) == 1' | sort -r
}
clean_up() {
    local status=$?
    local target
    for target in $(mounts_below); do
        umount "$target" 2>/dev/null || umount -l "$target" || true
    done
    if [ -n "$(mounts_below)" ]; then
        echo "check-fresh-machine: siguen montados, no se borra $work:" >&2
        mounts_below >&2
    elif [ "${AT_FRESH_KEEP:-0}" = 1 ]; then
        echo "check-fresh-machine: la raíz se queda en $rootfs" >&2
    else
        rm -rf --one-file-system "$work"
    fi
    echo "check-fresh-machine: $((SECONDS - started)) s" >&2
    exit "$status"
}
trap clean_up EXIT
trap 'exit 130' INT TERM

step() { printf '\n== %s (%d s)\n' "$*" "$((SECONDS - started))"; }

step "Raíz de Debian 12 nueva en $rootfs"
mmdebstrap --quiet --variant=apt bookworm "$rootfs" "${AT_DEBIAN_MIRROR:-http://deb.debian.org/debian}"

step "Clon del commit $commit"
source="/root/analisis-tracks"
git clone --quiet --no-checkout "$root" "$rootfs$source"
git -C "$rootfs$source" checkout --quiet --detach "$commit"

# /dev is bound without its submounts and kept private, so nothing done inside reaches the
# machine's own /dev.
mount --bind /dev "$rootfs/dev"
mount --make-private "$rootfs/dev"
mount -t proc proc "$rootfs/proc"
mount -t tmpfs tmpfs "$rootfs/tmp"

inside() {
    chroot "$rootfs" /usr/bin/env -i HOME=/root TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/bash -c "$1"
}

step "scripts/test.sh"
inside "cd $source && scripts/test.sh"

step "scripts/run.sh con QT_QPA_PLATFORM=offscreen"
# run.sh sets up (quick now) and then becomes the program; once it is the program, it must still
# be running a few seconds later.
cat >"$rootfs/root/start-check.sh" <<'END'
cd /root/analisis-tracks
program="$PWD/build/app/analisis-tracks"
QT_QPA_PLATFORM=offscreen scripts/run.sh &
pid=$!
for ((i = 0; i < 300; i++)); do
    exe="$(readlink "/proc/$pid/exe" 2>/dev/null || true)"
    [ "$exe" = "$program" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" && status=0 || status=$?
        echo "scripts/run.sh ha terminado sin abrir la ventana (estado $status)" >&2
        exit 1
    fi
    sleep 1
done
if [ "$exe" != "$program" ]; then
    echo "scripts/run.sh no ha abierto la ventana en 300 s" >&2
    kill "$pid"
    exit 1
fi
sleep 5
if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid" && status=0 || status=$?
    echo "el programa ha terminado solo (estado $status)" >&2
    exit 1
fi
kill "$pid"
wait "$pid" || true
echo "El programa sigue en marcha a los 5 s."
END
inside "bash /root/start-check.sh"

step "Correcto: el commit $commit se instala, pasa las pruebas y arranca en Debian 12 nuevo"

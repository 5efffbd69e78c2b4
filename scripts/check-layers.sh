#!/usr/bin/env bash
# Folders are layers: platform → track → formats → analysis → charts → app, cli. A file includes
# headers of its own folder and of the folders below it, never of one above; app and cli, the two
# programs, do not include each other; and the core below charts does not use Qt.
#   scripts/check-layers.sh [source root]      exit status 1 and one line per fault if any
set -euo pipefail
root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

rank() {
    case "$1" in
        platform) echo 0 ;;
        track) echo 1 ;;
        formats) echo 2 ;;
        analysis) echo 3 ;;
        charts) echo 4 ;;
        app | cli) echo 5 ;;
        *) echo -1 ;;
    esac
}

faults=0
for folder in platform track formats analysis charts app cli; do
    [[ -d "$root/$folder" ]] || continue
    own=$(rank "$folder")
    while IFS=: read -r file line text; do
        included="${text#*\"}"
        layer="${included%%/*}"
        other=$(rank "$layer")
        if ((other < 0 || other > own)) || { ((other == 5)) && [[ "$layer" != "$folder" ]]; }; then
            echo "${file#"$root"/}:$line: includes \"${included%\"*}\", which $folder/ may not"
            faults=$((faults + 1))
        fi
    done < <(grep -rnE --include='*.h' --include='*.cpp' '^#include "[^"]*/' "$root/$folder" || true)
    if ((own <= 3)); then
        while IFS=: read -r file line text; do
            echo "${file#"$root"/}:$line: uses Qt ($text) below charts/"
            faults=$((faults + 1))
        done < <(grep -rnE --include='*.h' --include='*.cpp' '^#include <Q' "$root/$folder" || true)
    fi
done
if ((faults > 0)); then
    echo "$faults include(s) against the layers" >&2
    exit 1
fi

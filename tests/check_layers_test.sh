#!/usr/bin/env bash
# The layer check passes on the sources and names every include against the layers in a small
# tree made to break them: upward, between the two programs, and Qt below the charts.
set -euo pipefail
root="$1"
check="$root/scripts/check-layers.sh"
"$check" "$root"

tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{platform,track,formats,analysis,app,cli}
printf '#include "platform/a.h"\n#include "track/b.h"\n' >"$tree/formats/fine.cpp"
printf '#include "formats/c.h"\n' >"$tree/track/upward.h"
printf '#include "cli/d.h"\n' >"$tree/app/sibling.cpp"
printf '#include <QString>\n' >"$tree/analysis/qt.cpp"
if output="$("$check" "$tree" 2>&1)"; then
    echo "the check passed a tree that breaks the layers" >&2
    exit 1
fi
expected='track/upward.h:1: includes "formats/c.h", which track/ may not
analysis/qt.cpp:1: uses Qt (#include <QString>) below charts/
app/sibling.cpp:1: includes "cli/d.h", which app/ may not
3 include(s) against the layers'
if [[ "$output" != "$expected" ]]; then
    printf 'expected:\n%s\ngot:\n%s\n' "$expected" "$output" >&2
    exit 1
fi

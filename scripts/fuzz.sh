#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 20), starting from the
# committed seeds in fuzz/corpus/<target>/ plus whatever earlier runs found (kept in the build
# folder). A crash, a leak, a timeout or a broken invariant fails the script; the input that caused
# it is left as <build>/artifacts/<target>-crash-*.
# Usage: scripts/fuzz.sh [SECONDS] [target...]    (AT_FUZZ_JOBS=2 runs two targets at once)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-20}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(point_line conversions analysis_pass splitter xml_track xml_halves fit_decoder)
fi
build="${AT_FUZZ_BUILD_DIR:-$root/build-fuzz}"
jobs="${AT_FUZZ_JOBS:-1}"

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
    -DANALISIS_TRACKS_FUZZ=ON -DANALISIS_TRACKS_GUI=OFF -DANALISIS_TRACKS_TESTS=OFF \
    -DANALISIS_TRACKS_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Longer inputs teach the file targets nothing that a few hundred lines do not.
max_len() {
    case "$1" in
        point_line) echo 512 ;;
        conversions) echo 256 ;;
        *) echo 8192 ;;
    esac
}

run() {
    local target="$1"
    local corpus="$build/corpus/$target"
    local log="$build/logs/$target.log"
    mkdir -p "$corpus" "$build/artifacts" "$build/logs"
    cp -n "$root/fuzz/corpus/$target/"* "$corpus/" 2>/dev/null || true
    local status=0
    "$build/fuzz/fuzz_$target" "$corpus" -max_total_time="$seconds" -max_len="$(max_len "$target")" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/artifacts/$target-" >"$log" 2>&1 || status=$?
    local last
    last="$(grep -E '^#[0-9]+' "$log" | tail -1 || true)"
    echo "$target: ${last:-no progress line} (corpus: $(ls "$corpus" | wc -l) files)"
    if ((status != 0)); then
        echo "$target: FALLO (código $status), véase $log" >&2
        grep -E 'FALLO|ERROR|runtime error|SUMMARY' "$log" | head -5 >&2 || true
    fi
    return "$status"
}

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
failed=0
pids=()
for target in "${targets[@]}"; do
    if ((jobs > 1)); then
        run "$target" &
        pids+=("$!")
        if ((${#pids[@]} >= jobs)); then
            wait "${pids[0]}" || failed=1
            pids=("${pids[@]:1}")
        fi
    else
        run "$target" || failed=1
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit "$failed"

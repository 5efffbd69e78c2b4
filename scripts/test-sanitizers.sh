#!/usr/bin/env bash
# Builds the whole program and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (float-to-integer overflow included) and runs the test suite headless. Any report fails the run:
# undefined behaviour aborts, and leaks are checked at the exit of every test program.
# Usage: scripts/test-sanitizers.sh [extra cmake arguments]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${AT_SANITIZE_BUILD_DIR:-$root/build-sanitize}"

# -O1 keeps the build quick and the reports readable; the checks do not depend on it.
AT_BUILD_DIR="$build" AT_BUILD_TYPE=RelWithDebInfo "$root/scripts/setup.sh" \
    -DANALISIS_TRACKS_SANITIZE=ON -DANALISIS_TRACKS_BENCHMARKS=OFF \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" "$@"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything and runs every test, three times over:
#   1. the plain Debug build and its whole suite (build folder: build, or $BUILD_DIR);
#   2. the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, leaks
#      included (build-asan);
#   3. a short run of each fuzz target, built with clang and libFuzzer (build-fuzz).
# Set-up included: missing Debian packages are installed first (as root; otherwise the exact
# command is printed).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/deps.sh test
jobs=$(nproc)

section() { printf '\n==== %s\n\n' "$*"; }

section "Format"
# Every C++ file as .clang-format lays it out.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
    # Every source file states its licence.
    unlicensed=$(git ls-files '*.cpp' '*.h' '*.sh' '*.cmake' '*CMakeLists.txt' .ci/run |
        xargs grep -L 'SPDX-License-Identifier: GPL-3.0-or-later' || true)
    if [ -n "$unlicensed" ]; then
        echo "These files lack the SPDX licence line:" >&2
        echo "$unlicensed" >&2
        exit 1
    fi
fi

section "Debug build"
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
cmake --build "$build" -j "$jobs"
(cd "$build" && ctest --output-on-failure -j "$jobs")

section "Sanitizer build"
asan=build-asan
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCORVANE_SANITIZE=ON
cmake --build "$asan" -j "$jobs"
# Every report goes to a file of its own, so that none is lost in the output of a program that
# a test starts and only watches (the end-to-end tests); any report fails the run.
reports=$root/$asan/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
asan_status=0
(
    export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:log_path=$reports/asan"
    export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
    cd "$asan" && ctest --output-on-failure -j "$jobs"
) || asan_status=$?
if [ -n "$(ls -A "$reports")" ]; then
    for report in "$reports"/*; do
        printf '\n---- %s\n' "$report"
        cat "$report"
    done
    echo "FAILED: the sanitizers reported the faults above" >&2
    exit 1
fi
[ "$asan_status" -eq 0 ] || exit "$asan_status"

# Last, so that CTest's summary of the fuzz runs ends the output.
section "Fuzzing"
fuzz=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON -DCORVANE_FUZZ_SECONDS=60
cmake --build "$fuzz" -j "$jobs"
cd "$fuzz"
ctest --output-on-failure -j "$jobs"

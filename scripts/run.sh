#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and starts it on a copy of the bundled sample results. Set-up
# included: missing Debian packages are installed first (as root; otherwise the exact
# command is printed). The copy lives in build-release/sample-run, where the program also
# keeps its settings file DD.ini between runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/deps.sh run

build=build-release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)" --target corvane-dive-analyzer

run_dir="$build/sample-run"
mkdir -p "$run_dir"
for event in M3M W3M M10M W10M; do
    cp -f "data/$event" "$run_dir/$event"
done

program="$root/$build/app/corvane-dive-analyzer"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display to show the window on."
    echo "Run it under a virtual X server instead, for example:"
    echo "  cd $root/$run_dir && xvfb-run -a $program"
    exit 1
fi
cd "$run_dir"
exec "$program"

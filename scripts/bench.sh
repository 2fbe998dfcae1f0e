#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Measures speed and memory against their targets, in a Release build of its own
# (build-release-bench): the core operations and the painting of one screen of the M3M grid
# (Google Benchmark, medians of repeated runs), the start-up to painted tables (fresh
# processes on the offscreen platform), and the peak memory of the real program working on
# the sample results under a private X server. Ends with a table of every figure.
#
# Usage: scripts/bench.sh [all|core|paint|startup|memory] [REPETITIONS]
#   BENCH_BUILD_DIR chooses another build folder.
#   Ratios of the same run are printed too: loading against a bare line-and-tab scan of the
#   same bytes, and the start-up after its timer against a minimal Qt window.
#   REPETITIONS: benchmark repetitions and start-up runs of which the median is taken
#   (default 10). Set-up included: missing Debian packages are installed first (as root;
#   otherwise the exact command is printed). The memory step also needs /usr/bin/time
#   (Debian package "time") and is skipped with a note without it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

what=${1:-all}
reps=${2:-10}
case "$what" in
    all | core | paint | startup | memory) ;;
    *)
        echo "usage: $0 [all|core|paint|startup|memory] [REPETITIONS]" >&2
        exit 2
        ;;
esac
if ! [[ "$reps" =~ ^[1-9][0-9]*$ ]]; then
    echo "REPETITIONS must be a whole number above 0, not '$reps'" >&2
    exit 2
fi
wants() { [ "$what" = all ] || [ "$what" = "$1" ]; }

scripts/deps.sh test

build=${BENCH_BUILD_DIR:-build-release-bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target corvane_bench corvane_bench_ui corvane_startup \
    corvane-dive-analyzer

# The figures of the issue, by benchmark: label and target in milliseconds.
declare -A label=(
    [BM_LoadResultFiles]="load the four result files"
    [BM_LoadSampleText]="... the same bytes from memory"
    [BM_ScanLinesAndTabs]="bare line-and-tab scan of the same bytes"
    [BM_InitialRun]="initial statistics run (four passes)"
    [BM_FilteredRunCountry]="filtered run, one country"
    [BM_FilteredRunDiver]="filtered run, one diver"
    [BM_SortLargestTable/0]="header sort of the largest table, text"
    [BM_SortLargestTable/4]="header sort of the largest table, numeric"
    [BM_DrillDownMostPerformed]="drill-down of the most performed dive"
    [BM_DiverCountM3M]="diver count of the M3M table"
    [BM_TableTextLargest]="clipboard text of the largest table"
    [BM_PaintEventGridScreen/0]="paint one screen of the M3M grid (view)"
    [BM_PaintEventGridScreen/1]="... its first paint, nothing measured yet"
    [BM_PaintMainWindowGrid]="paint one screen of the M3M grid (window)"
    [BM_ChartAfterRowClick/0]="score-band chart after a row click"
    [BM_ChartAfterRowClick/1]="... and its chart painted"
)
declare -A target=(
    [BM_LoadResultFiles]=1 [BM_LoadSampleText]=1 [BM_ScanLinesAndTabs]=1
    [BM_InitialRun]=0.5 [BM_FilteredRunCountry]=0.6
    [BM_FilteredRunDiver]=0.6 [BM_SortLargestTable/0]=2 [BM_SortLargestTable/4]=2
    [BM_DrillDownMostPerformed]=0.25 [BM_DiverCountM3M]=0.75 [BM_TableTextLargest]=1
    [BM_PaintEventGridScreen/0]=4 [BM_PaintEventGridScreen/1]=4 [BM_PaintMainWindowGrid]=4
    [BM_ChartAfterRowClick/0]=16 [BM_ChartAfterRowClick/1]=16
)
summary=()

# A time and its unit as Google Benchmark prints them, in milliseconds.
to_ms() {
    awk -v t="$1" -v u="$2" 'BEGIN {
        f = (u == "ns") ? 1e-6 : (u == "us") ? 1e-3 : (u == "s") ? 1e3 : 1
        printf "%.3f", t * f }'
}

verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v < t) ? "met" : "MISSED" }'; }

add_row() { summary+=("$(printf '%-44s %11s %11s %9s  %s' "$@")"); }

# Medians in milliseconds of the last benchmark run, by name (wall and CPU).
declare -A wall_ms=() cpu_ms_of=()

# A ratio of two medians of the same run, as a summary row against its target.
add_ratio() {
    local text=$1 over=$2 under=$3 limit=$4
    [ -n "${wall_ms[$over]:-}" ] && [ -n "${wall_ms[$under]:-}" ] || return 0
    local wall cpu
    wall=$(awk -v a="${wall_ms[$over]}" -v b="${wall_ms[$under]}" 'BEGIN { printf "%.2f", a / b }')
    cpu=$(awk -v a="${cpu_ms_of[$over]}" -v b="${cpu_ms_of[$under]}" 'BEGIN { printf "%.2f", a / b }')
    add_row "$text" "${wall}x" "${cpu}x" "< ${limit}x" "$(verdict "$wall" "$limit")"
}

# Runs one benchmark executable and adds its medians to the summary.
run_benchmarks() {
    local output
    output=$("$@" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true)
    echo "$output"
    local name wall wall_unit cpu cpu_unit rest base ms cpu_ms
    while read -r name wall wall_unit cpu cpu_unit rest; do
        base=${name%_median}
        [ -n "${target[$base]:-}" ] || continue
        ms=$(to_ms "$wall" "$wall_unit")
        cpu_ms=$(to_ms "$cpu" "$cpu_unit")
        wall_ms[$base]=$ms
        cpu_ms_of[$base]=$cpu_ms
        add_row "${label[$base]}" "$ms ms" "$cpu_ms ms" "< ${target[$base]} ms" \
            "$(verdict "$ms" "${target[$base]}")"
    done < <(grep '_median ' <<<"$output")
}

# The real program under a private X server and /usr/bin/time: start-up, "Populate Diver
# Count" on the M3M table, a double-click that opens a breakdown, then "Close".
measure_memory() {
    local program=$root/$build/app/corvane-dive-analyzer
    local tmp xvfb_pid app_pid win stats rss
    tmp=$(mktemp -d)
    cp data/M3M data/W3M data/M10M data/W10M "$tmp/"
    Xvfb -displayfd 3 -screen 0 2400x1200x24 -nolisten tcp 3>"$tmp/display" \
        >"$tmp/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n 1 "$tmp/display")"
    (cd "$tmp" && exec /usr/bin/time -v -o "$tmp/time.txt" "$program") >"$tmp/app.log" 2>&1 &
    app_pid=$!
    for _ in $(seq 200); do
        win=$(xdotool search --onlyvisible --name '^WAVO DD Analyser 2008-2012$' 2>/dev/null |
            head -n 1) && [ -n "$win" ] && break
        sleep 0.1
    done
    if [ -z "${win:-}" ]; then
        echo "memory step: the main window did not appear (see $tmp/app.log)"
        kill "$app_pid" "$xvfb_pid" 2>/dev/null || true
        return
    fi
    eval "$(xdotool getwindowgeometry --shell "$win")"
    local left=$X top=$Y
    click_at() { xdotool mousemove $((left + $1)) $((top + $2)) click "${@:3}" 1; }
    sleep 2                                       # the start-up run ends well within this
    click_at 100 85                               # "Populate Diver Count"
    sleep 3
    click_at 261 98 --repeat 2 --delay 80         # double-click the third data row
    sleep 1
    # The breakdown window opens over "Close"; with no window manager it moves at once.
    stats=$(xdotool search --onlyvisible --name '^Dive Statistics$' 2>/dev/null | head -n 1)
    [ -n "$stats" ] && xdotool windowmove "$stats" 1300 0
    for _ in $(seq 40); do
        kill -0 "$app_pid" 2>/dev/null || break
        click_at 100 581                          # "Close"
        sleep 0.5
    done
    wait "$app_pid" || true
    kill "$xvfb_pid" 2>/dev/null || true
    rss=$(awk -F': ' '/Maximum resident set size/ { printf "%.1f", $2 / 1024 }' "$tmp/time.txt")
    echo "peak RSS of the program (/usr/bin/time -v, X server, breakdown opened): $rss MB"
    [ -n "$stats" ] || echo "note: the breakdown window did not open"
    add_row "peak RSS, program under Xvfb (MB)" "$rss MB" "-" "< 100 MB" "$(verdict "$rss" 100)"
    rm -rf "$tmp"
}

if wants core; then
    run_benchmarks "$build/bench/corvane_bench"
    add_ratio "loading / bare scan (same run)" BM_LoadResultFiles BM_ScanLinesAndTabs 2
    add_ratio "loading from memory / bare scan (same run)" BM_LoadSampleText BM_ScanLinesAndTabs 2
fi
if wants paint; then
    QT_QPA_PLATFORM=offscreen run_benchmarks "$build/bench/corvane_bench_ui"
fi
# One start-up measurement: the harness's medians as summary rows. $1: label suffix,
# $2: roster rows (0: the shipped roster), $3: time target, $4: memory target.
measure_startup() {
    local startup ms mb minimal after ratio
    startup=$(QT_QPA_PLATFORM=offscreen "$build/bench/corvane_startup" "$reps" "$2" 2>/dev/null)
    echo "$startup"
    ms=$(awk '/^median start-up/ { print $6 }' <<<"$startup")
    mb=$(awk '/^median peak RSS/ { print $5 }' <<<"$startup")
    add_row "start-up to painted tables$1" "$ms ms" "-" "< $3 ms" "$(verdict "$ms" "$3")"
    add_row "peak RSS, start-up$1" "$mb MB" "-" "< $4 MB" "$(verdict "$mb" "$4")"
    if [ "$2" = 0 ]; then
        minimal=$(awk '/^median minimal window/ { print $9 }' <<<"$startup")
        after=$(awk '/^after the start-up timer/ { print $5 }' <<<"$startup")
        ratio=$(awk '/^after the start-up timer/ { print $7 }' <<<"$startup")
        add_row "minimal Qt window with a push button" "$minimal ms" "-" "-" ""
        add_row "start-up after its timer / minimal window" "${ratio}x" "($after ms)" "< 1.5x" \
            "$(verdict "$ratio" 1.5)"
    fi
}

if wants startup; then
    measure_startup " (offscreen)" 0 150 100
    measure_startup ", 100,000-diver roster" 100000 400 60
fi
if wants memory; then
    if [ -x /usr/bin/time ]; then
        measure_memory
    else
        echo "memory step skipped: /usr/bin/time is missing (Debian package 'time')"
    fi
fi

echo
printf '%-44s %11s %11s %9s\n' "figure (median of $reps)" "wall" "CPU" "target"
printf '%s\n' "${summary[@]}"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Captures what the programs of a build print and write, so that a change meant to alter no
# behaviour can be checked against the build before it: every table dive-tables prints for the
# sample results, the small end-to-end folder and a folder dive-import makes (every event, sort
# column, filter, drill-down, per-diver sort and chart), the messages and exit statuses of bad
# calls, and the reports and files of dive-import. Each case is one file holding the command's
# arguments, its exit status, its standard error and its standard output (pictures by SHA-256).
# Usage: scripts/capture.sh BUILD_DIR OUT_DIR
#        diff -r OUT_BEFORE OUT_AFTER     (no output: nothing changed)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: capture.sh BUILD_DIR OUT_DIR}" && pwd)
out=${2:?usage: capture.sh BUILD_DIR OUT_DIR}
tables=$build/app/dive-tables
import=$build/import/dive-import
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cases=0

# Runs one command as case NAME; paths under the work folder are written as WORK so the
# capture does not depend on where it ran.
run_case() {
    local name=$1
    shift
    local status=0
    (cd "$work" && "$@" >"$work/stdout" 2>"$work/stderr") || status=$?
    {
        printf 'args:'
        printf ' [%s]' "${@:2}"
        printf '\nstatus: %s\n--- stderr\n' "$status"
        cat "$work/stderr"
        printf -- '--- stdout\n'
        cat "$work/stdout"
    } | sed "s|$work|WORK|g; s|$build|BUILD|g; s|$root|ROOT|g" >"$out/$name.txt"
    cases=$((cases + 1))
}

# The first dive codes of a table, as they stand in its first column.
first_codes() {
    "$tables" "$@" | tr -d '\r' | awk -F'\t' 'NR > 1 && NR <= 4 { print $1 }'
}

# Every table of the folder DIR, under the case prefix NAME.
capture_folder() {
    local name=$1 dir=$2 event sort code stats nation diver
    for event in M3M W3M M10M W10M; do
        for sort in 0 1 2 3 4 5 6 9 12 15 16; do
            run_case "$name-$event-sort$sort" "$tables" --data "$dir" --event $event --sort $sort
        done
        run_case "$name-$event-regen-count" "$tables" --data "$dir" --event $event --regenerate \
            --diver-count --sort Divers --sort-count 3
        # The first diver of the first code's breakdown, and that diver's nation.
        read -r diver nation < <("$tables" --data "$dir" --event $event --drill \
            "$(first_codes --data "$dir" --event $event | head -1)" | tr -d '\r' |
            awk -F'\t' 'NR == 2 { printf "%s [%s]\t%s\n", $1, $2, $2 }' | tr ' \t' '_ ') || true
        diver=${diver//_/ }
        if [ -n "$nation" ]; then
            run_case "$name-$event-country" "$tables" --data "$dir" --event $event \
                --country "$nation" --sort Count
            run_case "$name-$event-diver" "$tables" --data "$dir" --event $event \
                --country "$nation" --diver "$diver" --diver-count
        fi
        for code in $(first_codes --data "$dir" --event $event --sort Count); do
            for stats in -1 0 1 2 5 14; do
                run_case "$name-$event-drill$code-stats$stats" "$tables" --data "$dir" \
                    --event $event --sort Count --drill "$code" --stats-sort=$stats
            done
            run_case "$name-$event-chart$code" bash -c \
                '"$0" "$@" && sha256sum chart.svg | cut -c1-64' "$tables" --data "$dir" \
                --event $event --sort Count --drill "$code" --chart chart.svg
        done
    done
}

cp -r "$root/data" "$work/samples"
cp -r "$root/tests/data/e2e-small" "$work/small"
run_case import-csv "$import" --out imported "$root/tests/data/import/results.csv"
for file in "$work"/imported/*; do
    run_case "import-csv-file-$(basename "$file")" cat "$file"
done
capture_folder samples "$work/samples"
capture_folder small "$work/small"
capture_folder imported "$work/imported"

# Calls a user can get wrong: the messages and statuses they give.
run_case bad-event "$tables" --data samples --event X10M
run_case bad-sort "$tables" --data samples --sort 17
run_case bad-country "$tables" --data samples --country ZZZ
run_case bad-diver "$tables" --data samples --diver "NOBODY, AT ALL [ZZZ]"
run_case bad-drill "$tables" --data samples --drill 9999Z
run_case bad-chart "$tables" --data samples --drill 107B --chart chart.bmp
run_case bad-folder "$tables" --data nowhere
run_case bad-option "$tables" --frobnicate
run_case import-no-out "$import" "$root/tests/data/import/results.csv"
run_case import-again "$import" --out imported "$root/tests/data/import/results.csv"
run_case import-list "$import" --list imported
run_case import-missing "$import" --out other nowhere.csv
run_case version-tables "$tables" --version
run_case help-import "$import" --help
echo "capture.sh: $cases cases in $out"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The README's pictures show what the program shows today: docs/screenshots.txt, written by
# scripts/screenshots.sh together with the pictures, must hold the tables that dive-tables
# prints now on the sample results, and the SHA-256 of each committed picture. Text, not
# pixels: the numbers are what goes stale, and text compares the same on any machine,
# whatever its fonts draw.
# Usage: screenshots_current.sh DIVE_TABLES SAMPLE_DIR DOCS_DIR
set -euo pipefail
dive_tables=$1 samples=$2 docs=$3
readonly DIVE=107B
now=$(mktemp)
trap 'rm -f "$now"' EXIT

table() { "$dive_tables" --data "$samples" "$@" | iconv -f LATIN1 -t UTF-8 | tr -d '\r'; }
{
    echo "# Made by scripts/screenshots.sh: the tables the README's pictures show."
    echo "## main-window.png: dive-tables --event M3M"
    table --event M3M
    echo
    echo "## dive-statistics.png and score-bands.png: dive-tables --drill $DIVE"
    table --drill $DIVE
    echo
    echo "## add-results.png: docs/example-results.csv offered to the sample results"
    echo "## pictures"
    (cd "$docs" && sha256sum main-window.png dive-statistics.png score-bands.png add-results.png)
} >"$now"
if ! cmp -s "$docs/screenshots.txt" "$now"; then
    diff -u "$docs/screenshots.txt" "$now" | head -n 40 || true
    echo "FAIL: the README's pictures are stale (or were changed by hand): run" \
        "scripts/screenshots.sh and commit what it writes in docs/" >&2
    exit 1
fi
echo PASS

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the README's pictures from the current program on the bundled sample results, under
# a private X server driven as a user would: docs/main-window.png (the window after start-up),
# docs/dive-statistics.png (after a double-click on 107B) and docs/score-bands.png (that
# breakdown with its chart beside it) and docs/add-results.png (the "Add Results" dialog of
# docs/example-results.csv over the samples, cancelled). Beside them it writes docs/screenshots.txt: the tables
# the pictures show, as dive-tables prints them (each checked against the window's own copy
# before the picture is taken), and the SHA-256 of each picture. tests/docs/screenshots.sh
# fails when that text no longer matches what the program prints, or a picture not its sum.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
PROGRAM=$build/app/corvane-dive-analyzer
DIVE_TABLES=$build/app/dive-tables
SAMPLE_DIR=$root/data
ARTEFACTS=""
E2E_NAME=screenshots
source "$root/tests/e2e/lib.sh"
readonly DIVE=107B
readonly AT_SHOW_CHART="820 54" # "Show Chart", (753, 42) 137 x 25 in the title bar
docs=$root/docs

# A picture of window WIN into FILE once two pictures in a row are the same: the window has
# finished drawing.
capture_settled() {
    local win=$1 file=$2 previous="$e2e_tmp/previous.png"
    settled() {
        import -window "$win" "$file"
        local same=1
        [ -f "$previous" ] && compare -metric AE "$file" "$previous" null: 2>/dev/null && same=0
        cp -f "$file" "$previous"
        return $same
    }
    rm -f "$previous"
    wait_until 20 settled || fail "window $win kept changing"
    rm -f "$previous"
}

start_x
# The folder under a home folder of its own, which the "Add Results" dialog names as "~/dives".
home=$e2e_tmp/home
dir=$home/dives
mkdir -p "$dir"
cp "$SAMPLE_DIR"/M3M "$SAMPLE_DIR"/W3M "$SAMPLE_DIR"/M10M "$SAMPLE_DIR"/W10M "$dir"/
HOME=$home start_program "$dir"
main=$(wait_for_window "$MAIN_TITLE")
table=$(expected_from_dive_tables "$dir" M3M --event M3M)
copy_and_compare "$main" $AT_COPY "$table" M3M 60 >/dev/null
row=$(tr -d '\r' <"$table" | awk -F'\t' -v dive=$DIVE '$1 == dive { print NR - 1; exit }')
[ -n "$row" ] || fail "no $DIVE row in the M3M table"
# The pointer rests on the row to open, away from the buttons it would light up.
window_origin "$main"
xdotool mousemove "$((WIN_X + $(cell_x 1)))" "$((WIN_Y + $(cell_y "$row")))"
capture_settled "$main" "$e2e_tmp/main-window.png"
step "main window"

stats=$(open_breakdown "$main" "$(cell_x 1)" "$(cell_y "$row")")
breakdown=$(expected_from_dive_tables "$dir" "drill-$DIVE" --drill $DIVE)
copy_and_compare "$stats" $AT_STATS_COPY "$breakdown" "drill-$DIVE" >/dev/null
capture_settled "$stats" "$e2e_tmp/dive-statistics.png"
step "Dive Statistics window"

click_in "$stats" $AT_SHOW_CHART
chart=$(wait_for_window "Score Bands")
capture_settled "$chart" "$e2e_tmp/chart.png"
# The two windows side by side, as they open.
convert "$e2e_tmp/dive-statistics.png" "$e2e_tmp/chart.png" -background white -gravity North \
    +append "$e2e_tmp/score-bands.png"
step "Score Bands window"

# Ctrl+I, the example spreadsheet typed into the file dialog, and the dialog it leads to;
# Escape then cancels it, so the folder stays as it was.
unmapped() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
xdotool windowfocus --sync "$main"
xdotool key ctrl+i
chooser=$(wait_for_window "Choose Results to Add")
xdotool windowfocus --sync "$chooser"
xdotool key ctrl+a
xdotool type --delay 20 "$root/docs/example-results.csv"
xdotool key Return
wait_until 20 unmapped "$chooser" || fail "the file dialog stayed open"
adding=$(wait_for_window "Add Results" 60)
capture_settled "$adding" "$e2e_tmp/add-results.png"
xdotool windowfocus --sync "$adding"
xdotool key Escape
wait_until 20 unmapped "$adding" || fail "the Add Results dialog stayed open"
[ ! -e "$dir/Sources.tsv" ] || fail "the cancelled add wrote into the folder"
step "Add Results dialog"
close_program "$main"

for picture in main-window dive-statistics score-bands add-results; do
    # No time stamps or names in the file: the same picture gives the same bytes.
    convert "$e2e_tmp/$picture.png" -strip -define png:exclude-chunks=date,time \
        "$docs/$picture.png"
done
{
    echo "# Made by scripts/screenshots.sh: the tables the README's pictures show."
    echo "## main-window.png: dive-tables --event M3M"
    tr -d '\r' <"$table"
    echo
    echo "## dive-statistics.png and score-bands.png: dive-tables --drill $DIVE"
    tr -d '\r' <"$breakdown"
    echo
    echo "## add-results.png: docs/example-results.csv offered to the sample results"
    echo "## pictures"
    (cd "$docs" && sha256sum main-window.png dive-statistics.png score-bands.png add-results.png)
} >"$docs/screenshots.txt"
echo "Wrote $docs/main-window.png, dive-statistics.png, score-bands.png, add-results.png" \
    "and screenshots.txt"

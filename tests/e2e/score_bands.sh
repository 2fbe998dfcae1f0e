#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The score-band chart as a user meets it: a double-click on a dive, "Show Chart" in the
# Dive Statistics window, the "Score Bands" window, its tallest field bar read from a
# screenshot, and "Save Picture..." through its file dialog.
# Usage: score_bands.sh PROGRAM SAMPLE_DIR ARTEFACTS DIVE_TABLES
PROGRAM=$1 SAMPLE_DIR=$2 ARTEFACTS=${3:-} DIVE_TABLES=$4
source "$(dirname "$0")/lib.sh"

readonly CHART_TITLE="Score Bands"
readonly AT_SHOW_CHART="820 54"   # "Show Chart", (753, 42) 137 x 25 in the title bar
readonly AT_SAVE_PICTURE="640 458" # "Save Picture...", (575, 446) 137 x 25
readonly CHART_WIDTH=720 CHART_HEIGHT=440
readonly GRID_LINE=D0D0D0

# The first of the first ten rows of TABLE whose largest band share stands alone, as
# "row band" (band 0 for "0 to 1").
row_with_one_largest_band() {
    tr -d '\r' <"$1" | awk -F'\t' 'NR > 1 && NR <= 11 {
        best = -1; ties = 0
        for (f = 6; f <= 15; f++) {
            v = $f + 0
            if (v > best) { best = v; band = f - 6; ties = 0 } else if (v == best) ties++
        }
        if (best > 0 && ties == 0) { print NR - 1, band; exit }
    }'
}

# The band under the tallest bar of the field's colour in a picture of the chart window: the
# plot spans the grid lines, ten bands wide.
tallest_field_band() {
    convert "$1" -depth 8 txt:- | awk -v field="#$GRID_BACKGROUND" -v line="#$GRID_LINE" '
        NR > 1 {
            split($1, at, /[,:]/)
            x = at[1] + 0
            if ($3 == field) count[x]++
            if ($3 == line) { if (left == "" || x < left) left = x; if (x > right) right = x }
        }
        END {
            for (x in count) if (count[x] > most) { most = count[x]; tallest = x }
            if (left == "" || right <= left || most == 0) { print "none"; exit }
            print int((tallest - left) * 10 / (right - left + 1))
        }'
}

start_x
dir=$(make_data_dir)
start_program "$dir"
main=$(wait_for_window "$MAIN_TITLE")

start_table=$(expected_from_dive_tables "$dir" start-M3M --event M3M)
copy_and_compare "$main" $AT_COPY "$start_table" start-M3M 60 >/dev/null
read -r row band < <(row_with_one_largest_band "$start_table")
[ -n "${row:-}" ] || fail "no row among the first ten has one largest band"
code=$(table_field "$start_table" "$row" 0)
step "M3M row $row ($code): band $band is the largest"

stats=$(open_breakdown "$main" "$(cell_x 1)" "$(cell_y "$row")")
click_in "$stats" $AT_SHOW_CHART
chart=$(wait_for_window "$CHART_TITLE")
window_origin "$chart"
[ "$WIN_WIDTH" -eq "$CHART_WIDTH" ] || fail "the chart window is $WIN_WIDTH px wide"
step "\"Show Chart\" opened the chart window"

picture="$e2e_keep/chart-window.png"
shows_the_band() {
    import -window root -crop "${CHART_WIDTH}x${CHART_HEIGHT}+${WIN_X}+${WIN_Y}" +repage \
        "$picture"
    [ "$(tallest_field_band "$picture")" = "$band" ]
}
wait_until 10 shows_the_band ||
    fail "the tallest field bar stands over band $(tallest_field_band "$picture"), not $band"
step "the tallest field bar stands over band $band"

# The file dialog proposes M3M-<code>.png in the data folder; Return takes it.
click_in "$chart" $AT_SAVE_PICTURE
dialog=$(wait_for_window "Save Picture")
saved="$dir/M3M-$code.png"
saved_exists() { [ -s "$saved" ]; }
accept_dialog() {
    xdotool windowfocus --sync "$dialog" key Return
    wait_until 3 saved_exists
}
wait_until 15 accept_dialog || fail "no $saved after Return in the file dialog"
read -r width height format < <(identify -format '%w %h %m\n' "$saved")
[ "$width x $height $format" = "$CHART_WIDTH x $CHART_HEIGHT PNG" ] ||
    fail "the saved picture is $width x $height $format"
[ "$(tallest_field_band "$saved")" = "$band" ] || fail "the saved picture shows another chart"
step "Save Picture wrote $CHART_WIDTH x $CHART_HEIGHT PNG $(basename "$saved")"

close_program "$main"
echo "PASS"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user's session with the real program on the sample results, driven from outside through
# a private X server: pointer and keys with xdotool, the clipboard with xclip, colours from
# screenshots. Every table the program copies is compared with the text that dive-tables
# prints for the same choices on the same files.
# Usage: user_session.sh PROGRAM SAMPLE_DIR ARTEFACTS DIVE_TABLES
PROGRAM=$1 SAMPLE_DIR=$2 ARTEFACTS=${3:-} DIVE_TABLES=$4
source "$(dirname "$0")/lib.sh"

# The choices of this session. The header press and the Sort Count are on W3M, whose "Avg Pts"
# values are distinct within each Sort Count block for Sort Count 10 and 12: the order a sort
# gives is then the same whatever order the rows had before, as it is for dive-tables, which
# sorts the freshly generated table.
readonly SORT_TAB=1 SORT_EVENT=W3M SORT_COL=3 NEW_SORT_COUNT=12
# The country is typed into the closed list; it is the first entry beginning with its letter,
# so typing that letter again after a pause keeps it (the toolkit's own search walks on).
readonly COUNTRY=GBR

start_x
dir=$(make_data_dir)
start_program "$dir"
main=$(wait_for_window "$MAIN_TITLE")
step "main window shown"

expected() {
    expected_from_dive_tables "$dir" "$@"
}
copy_main() {
    copy_and_compare "$main" $AT_COPY "$@" >/dev/null
}

# The tables fill a moment after the window appears: copy until M3M is there.
events=(M3M W3M M10M W10M)
for tab in 0 1 2 3; do
    event=${events[$tab]}
    start_table=$(expected "start-$event" --event "$event")
    show_tab "$main" "$tab"
    copy_main "$start_table" "start-$event" 60
done
step "the four tables copied as the program opened them"

# A header press sorts the table of the shown tab by that column, largest first.
show_tab "$main" "$SORT_TAB"
copy_main "$e2e_keep/start-$SORT_EVENT.expected.txt" "start-$SORT_EVENT-again"
expect_colour "$main" "$((GRID_X + SORT_COL * CELL_PITCH_X + 1))" "$((GRID_Y + 1))" \
    "$HEADER_BLUE" "the header row of the $SORT_EVENT grid"
click_in "$main" "$(cell_x "$SORT_COL")" "$(cell_y 0)"
sorted=$(expected "$SORT_EVENT-sort$SORT_COL" --event "$SORT_EVENT" --sort "$SORT_COL")
expect_step_changes "$e2e_keep/start-$SORT_EVENT.expected.txt" "$sorted" "the header press"
copy_main "$sorted" "$SORT_EVENT-sort$SORT_COL"
step "header $SORT_COL of $SORT_EVENT pressed: sorted"

# Sort Count typed: rows below it move after the others.
text_into "$main" $AT_SORT_COUNT "$NEW_SORT_COUNT"
resorted=$(expected "$SORT_EVENT-sort$SORT_COL-count$NEW_SORT_COUNT" --event "$SORT_EVENT" \
    --sort "$SORT_COL" --sort-count "$NEW_SORT_COUNT")
expect_step_changes "$sorted" "$resorted" "Sort Count $NEW_SORT_COUNT"
shown=$(copy_and_compare "$main" $AT_COPY "$resorted" "$SORT_EVENT-count$NEW_SORT_COUNT")
step "Sort Count typed: re-sorted"

# Percent raised: a band cell shown pink (above Percent, not blue for 2 Column, its row at or
# above Sort Count) goes back to the grid background.
read -r row col value < <(tr -d '\r' <"$shown" | awk -F'\t' -v percent=30 -v two=60 \
    -v sortCount="$NEW_SORT_COUNT" '
    NR > 1 && NR <= 31 && $2 + 0 >= sortCount {
        for (f = 6; f <= 14; f++) {
            v = $f + 0; left = (f > 6) ? $(f - 1) + 0 : 0; right = $(f + 1) + 0
            if ($f != "" && v > percent && v <= two && v + left <= two && v + right <= two) {
                print NR - 1, f - 1, v; exit
            }
        }
    }')
[ -n "${row:-}" ] || fail "no pink band cell among the first 30 rows to test Percent on"
cell_px=$((GRID_X + col * CELL_PITCH_X + 3))
cell_py=$((GRID_Y + row * CELL_PITCH_Y + 3))
expect_colour "$main" "$cell_px" "$cell_py" "$PINK" "row $row column $col ($value) at Percent 30"
new_percent=$(awk -v v="$value" 'BEGIN { p = int(v); if (p < v) p++; print p }')
text_into "$main" $AT_PERCENT "$new_percent"
expect_colour "$main" "$cell_px" "$cell_py" "$GRID_BACKGROUND" \
    "row $row column $col ($value) at Percent $new_percent"
step "Percent $new_percent: the cell of $value is no longer pink"

# $COUNTRY typed into the closed list, a pause, and its first letter again; then "Re-Generate
# Stats", whose tables tell which country was selected.
type_into_closed_list "$main" $AT_COUNTRY "$COUNTRY"
sleep "$SEARCH_PAUSE"
xdotool type "${COUNTRY:0:1}"
click_in "$main" $AT_GENERATE
# Each table comes out sorted by its own remembered column: W3M by "Avg Pts", M3M by code.
for tab in "$SORT_TAB" 0; do
    event=${events[$tab]}
    sort_col=0
    [ "$tab" = "$SORT_TAB" ] && sort_col=$SORT_COL
    regenerated=$(expected "$COUNTRY-$event" --event "$event" --country "$COUNTRY" \
        --sort "$sort_col" --sort-count "$NEW_SORT_COUNT")
    show_tab "$main" "$tab"
    copy_main "$regenerated" "$COUNTRY-$event" 60
done
by_country=$e2e_keep/$COUNTRY-M3M.expected.txt
step "country $COUNTRY typed, its first letter again after a pause: tables regenerated"

# A double-click on the first row opens its breakdown in the Dive Statistics window.
code=$(table_field "$by_country" 1 0)
stats=$(open_breakdown "$main" "$(cell_x 1)" "$(cell_y 1)")
# Its first showing is centred on the main window (there is no window frame here).
window_origin "$main"
want_x=$((WIN_X + WIN_WIDTH / 2)) want_y=$((WIN_Y + WIN_HEIGHT / 2))
window_origin "$stats"
off_x=$((WIN_X + WIN_WIDTH / 2 - want_x)) off_y=$((WIN_Y + WIN_HEIGHT / 2 - want_y))
[ "${off_x#-}" -le 1 ] && [ "${off_y#-}" -le 1 ] ||
    fail "the Dive Statistics window is off the main window's centre by ($off_x, $off_y)"
drill=(--country "$COUNTRY" --sort-count "$NEW_SORT_COUNT" --drill "$code")
breakdown=$(expected "drill-$code" "${drill[@]}")
copy_and_compare "$stats" $AT_STATS_COPY "$breakdown" "drill-$code" >/dev/null
divers=$(($(table_rows "$breakdown") - 1))
step "breakdown of $code copied: $divers divers"

# The double-click also wrote the row's "Divers" cell.
with_divers="$e2e_keep/$COUNTRY-M3M-row1-divers.expected.txt"
tr -d '\r' <"$by_country" | awk -F'\t' -v OFS='\t' -v n="$divers" \
    'NR == 2 { $16 = n } { printf "%s%s", (NR > 1 ? "\r\n" : ""), $0 }' >"$with_divers"
copy_main "$with_divers" "$COUNTRY-M3M-row1-divers"

# A press on the "Name" header sorts the breakdown by name.
click_in "$stats" "$(stats_cell_x 0)" "$(stats_cell_y 0)"
by_name=$(expected "drill-$code-by-name" "${drill[@]}" --stats-sort 0)
expect_step_changes "$breakdown" "$by_name" "the press on \"Name\""
copy_and_compare "$stats" $AT_STATS_COPY "$by_name" "drill-$code-by-name" >/dev/null
step "breakdown sorted by name"

# Escape in the Dive Statistics window (it has the keyboard since the presses above) leaves
# it shown, with its contents. The program handles the copy press after the key, so once
# the clipboard holds the copy again (a marker in between) the key has been handled.
xdotool key Escape
printf 'nothing copied' | xclip -i -selection clipboard >/dev/null 2>&1
copy_and_compare "$stats" $AT_STATS_COPY "$by_name" "drill-$code-after-escape" >/dev/null
window_shown "$STATS_TITLE" || fail "Escape closed the Dive Statistics window"
step "Escape pressed: the Dive Statistics window is still shown"

# "Populate Diver Count" fills the "Divers" column row by row.
click_in "$main" $AT_POPULATE
counted=$(expected "$COUNTRY-M3M-divers" --country "$COUNTRY" --sort-count "$NEW_SORT_COUNT" \
    --diver-count)
expect_step_changes "$with_divers" "$counted" "\"Populate Diver Count\""
copy_main "$counted" "$COUNTRY-M3M-divers" 60
step "diver count copied"

# "Close" ends the program, which keeps the thresholds and sort columns in DD.ini.
close_program "$main"
expect_settings "$dir" 50 3.0 "$new_percent" 60 5 "$NEW_SORT_COUNT" 0 "$SORT_COL" 0 0
step "closed; DD.ini holds the session's choices"
echo "PASS"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A user's session with the real program on a small crafted result set whose tables were
# worked out by hand (tests/data/e2e-small/README.md): the copied tables must match those
# texts byte for byte.
# Usage: small_results.sh PROGRAM SAMPLE_DIR ARTEFACTS DIVE_TABLES
PROGRAM=$1 SAMPLE_DIR=$2 ARTEFACTS=${3:-} DIVE_TABLES=$4
source "$(dirname "$0")/lib.sh"

small="$(cd "$(dirname "$0")/../data/e2e-small" && pwd)"
expected="$small/expected"

start_x
dir=$(make_data_dir "$small")
start_program "$dir"
main=$(wait_for_window "$MAIN_TITLE")
step "main window shown"

copy_main() {
    copy_and_compare "$main" $AT_COPY "$expected/$1.txt" "$1" "${2:-20}" >/dev/null
}

# The four tables as the program opens them. The load ends by showing M3M, so M3M comes
# first: its copy is repeated until the tables are there.
events=(M3M W3M M10M W10M)
for tab in 0 1 2 3; do
    show_tab "$main" "$tab"
    copy_main "${events[$tab]}" 60
done
show_tab "$main" 0
copy_main M3M
step "the four tables copied"

# "Avg Pts" pressed on M3M, then Sort Count 2 typed: the rows of fewer than 2 dives go last.
click_in "$main" "$(cell_x 3)" "$(cell_y 0)"
copy_main M3M-sort3
text_into "$main" $AT_SORT_COUNT 2
copy_main M3M-sort3-count2
step "sorted by Avg Pts, Sort Count 2"

# Country NOR typed into the open list, then "Re-Generate Stats": only the roster's NOR
# divers count, and the FIN record in the middle of the first 101B run does not split it.
choose_in_list "$main" $AT_COUNTRY NOR
click_in "$main" $AT_GENERATE
copy_main M3M-NOR 60
step "country NOR, regenerated"

# The breakdown of the first row (101B): every 101B record of a NOR diver, both runs.
stats=$(open_breakdown "$main" "$(cell_x 1)" "$(cell_y 1)")
copy_and_compare "$stats" $AT_STATS_COPY "$expected/drill-101B-NOR.txt" drill-101B-NOR >/dev/null
# ">2 to 3" pressed: the diver with a dive in that band comes first.
click_in "$stats" "$(stats_cell_x 7)" "$(stats_cell_y 0)"
copy_and_compare "$stats" $AT_STATS_COPY "$expected/drill-101B-NOR-sort7.txt" \
    drill-101B-NOR-sort7 >/dev/null
step "breakdown of 101B copied, then sorted by >2 to 3"

click_in "$main" $AT_POPULATE
copy_main M3M-NOR-divers 30
step "diver count copied"

close_program "$main"
expect_settings "$dir" 50 3.0 30 60 5 2 3 0 0 0
step "closed; DD.ini written"
echo "PASS"

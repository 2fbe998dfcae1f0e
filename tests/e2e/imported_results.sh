#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A coach's own spreadsheet: dive-import turns it into a folder, the real program opens that
# folder named on its command line, and the tables it copies must be those dive-tables prints
# for the same folder. Every diver of the spreadsheet is in the folder's roster, so
# "Re-Generate Stats" keeps every dive.
# Usage: imported_results.sh PROGRAM CSV ARTEFACTS DIVE_TABLES DIVE_IMPORT
PROGRAM=$1 CSV=$2 ARTEFACTS=${3:-} DIVE_TABLES=$4 DIVE_IMPORT=$5
SAMPLE_DIR=""
source "$(dirname "$0")/lib.sh"

start_x
dir="$e2e_tmp/imported"
"$DIVE_IMPORT" --out "$dir" "$CSV" 2>"$e2e_keep/import-report.txt" ||
    fail "dive-import failed: $(cat "$e2e_keep/import-report.txt")"
step "imported"

# Started from another folder, with the data folder as its argument.
mkdir -p "$e2e_tmp/elsewhere"
start_program "$e2e_tmp/elsewhere" "$dir"
main=$(wait_for_window "$MAIN_TITLE")
step "main window shown"

expected() {
    expected_from_dive_tables "$dir" "$@"
}
copy_main() {
    copy_and_compare "$main" $AT_COPY "$@" >/dev/null
}

opened=$(expected M3M --event M3M)
copy_main "$opened" M3M 60
show_tab "$main" 3
copy_main "$(expected W10M --event W10M)" W10M
step "M3M and W10M copied as the program opened them"

# No dive is dropped for an unknown diver: the regenerated table is the opening one.
show_tab "$main" 0
regenerated=$(expected M3M-regenerated --event M3M --regenerate)
cmp -s "$opened" "$regenerated" || fail "dive-tables drops dives of the imported divers"
click_in "$main" $AT_GENERATE
copy_main "$regenerated" M3M-regenerated 30
step "regenerated: every dive kept"

# A nation of the spreadsheet in the country list, and a breakdown naming its diver.
choose_in_list "$main" $AT_COUNTRY NOR
click_in "$main" $AT_GENERATE
norway=$(expected M3M-NOR --event M3M --country NOR)
expect_step_changes "$regenerated" "$norway" "country NOR"
copy_main "$norway" M3M-NOR 30
dive=$(table_field "$norway" 1 0)
stats=$(open_breakdown "$main" "$(cell_x 1)" "$(cell_y 1)")
breakdown=$(expected "drill-$dive-NOR" --event M3M --country NOR --drill "$dive")
[ "$(table_field "$breakdown" 1 0)" = "HALVERSEN, JONAS" ] ||
    fail "the breakdown of $dive names '$(table_field "$breakdown" 1 0)'"
copy_and_compare "$stats" $AT_STATS_COPY "$breakdown" "drill-$dive-NOR" >/dev/null
step "country NOR and the breakdown of $dive copied"

close_program "$main"
[ -f "$dir/DD.ini" ] || fail "DD.ini was not written into the data folder"
[ -z "$(ls -A "$e2e_tmp/elsewhere")" ] || fail "the program wrote into the folder it was started in"
step "closed; DD.ini in the data folder"
echo "PASS"

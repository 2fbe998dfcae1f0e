#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A DD written "2,4" in W3M: the error box shows the exact message, the load stops at that
# line and the window stays open with empty tables; "Re-Generate Stats" then builds the
# tables of what was read: M3M whole, W3M up to the bad line, nothing of M10M and W10M.
# Usage: conversion_error.sh PROGRAM SAMPLE_DIR ARTEFACTS [DIVE_TABLES]
PROGRAM=$1 SAMPLE_DIR=$2 ARTEFACTS=${3:-}
source "$(dirname "$0")/lib.sh"

small="$(cd "$(dirname "$0")/../data/e2e-small" && pwd)"
expected="$small/expected"

start_x
dir=$(make_data_dir "$small")
cp "$small/conversion-error/W3M" "$dir/W3M"
start_program "$dir"
main=$(wait_for_window "$MAIN_TITLE")
box=$(wait_for_window "$APP_TITLE" 30)
step "error box shown"
expect_box_text "$box" "'2,4' is not a valid floating point value."
dismiss_box "$box" xdotool key Return
program_running || fail "the program ended after the conversion error"
window_shown "$MAIN_TITLE" || fail "the main window closed after the conversion error"
step "error box dismissed, main window open"

# Nothing was generated: the table is the two blank rows the window starts with.
blank="$e2e_keep/blank-table.expected.txt"
blank_row=$(printf '\t%.0s' $(seq 17))
printf '%s\r\n%s' "$blank_row" "$blank_row" >"$blank"
copy_and_compare "$main" $AT_COPY "$blank" blank-M3M >/dev/null

# "Re-Generate Stats" runs the first, unfiltered pass over the records that were loaded.
click_in "$main" $AT_GENERATE
copy_and_compare "$main" $AT_COPY "$expected/M3M.txt" M3M 30 >/dev/null
# W3M holds the lines before the bad one, which are the whole of the small W3M file.
cmp -s <(head -n 4 "$small/conversion-error/W3M") "$small/W3M" ||
    fail "the crafted W3M no longer starts with the small W3M file"
show_tab "$main" 1
copy_and_compare "$main" $AT_COPY "$expected/W3M.txt" W3M >/dev/null
show_tab "$main" 2
copy_and_compare "$main" $AT_COPY "$expected/empty-table.txt" M10M >/dev/null
step "tables generated from what was loaded"

close_program "$main"
expect_settings "$dir" 50 3.0 30 60 5 10 0 0 0 0
echo "PASS"

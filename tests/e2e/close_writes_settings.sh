#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a real X server: it opens its window on the sample results and,
# closed with its "Close" button, writes the settings file with the ten keys.
PROGRAM=$1 SAMPLE_DIR=$2 ARTEFACTS=${3:-}
source "$(dirname "$0")/lib.sh"

start_x
dir=$(make_data_dir)
start_program "$dir"
win=$(wait_for_window "WAVO DD Analyser 2008-2012")
[ -e "$dir/DD.ini" ] && fail "DD.ini written before the window closed"

# "Close": left panel at (0, 17), button at (16, 552), 169 x 25. The program may still be
# loading when the window appears, so the press is repeated until it ends.
program_ended() {
    click_in "$win" 100 581
    wait_until 2 bash -c "! kill -0 $APP_PID"
}
wait_until 30 program_ended || fail "the program did not end after Close"

expected=$'[Values]\nCount=50\nDD=3.0\nPercent=30\nTwoCol=60\nNine=5\nSortCount=10\n[Sort]\nM3M=0\nW3M=0\nM10M=0\nW10M=0'
actual=$(tr -d '\r' <"$dir/DD.ini" | sed '/^$/d')
[ "$actual" = "$expected" ] || fail "DD.ini differs:"$'\n'"$actual"
echo "PASS"

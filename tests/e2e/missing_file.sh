#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Started in a folder without W10M, the program reads the other three files, shows the
# notice naming the missing file, and ends once it is dismissed, without writing DD.ini.
# Usage: missing_file.sh PROGRAM SAMPLE_DIR ARTEFACTS [DIVE_TABLES]
PROGRAM=$1 SAMPLE_DIR=$2 ARTEFACTS=${3:-}
source "$(dirname "$0")/lib.sh"

start_x
dir=$(make_data_dir "$(dirname "$0")/../data/e2e-small")
rm "$dir/W10M"
start_program "$dir"

notice=$(wait_for_window "$APP_TITLE" 30)
step "notice shown"
program_running || fail "the program ended before the notice was dismissed"
# The program names the folder as the system reports the working directory.
expect_box_text "$notice" "Could not find file" "$(cd "$dir" && pwd -P)/W10M" "Cannot continue"
step "notice text read"

# Its OK button sits in the bottom right-hand corner.
window_origin "$notice"
dismiss_box "$notice" click_in "$notice" $((WIN_WIDTH - 45)) $((WIN_HEIGHT - 24))
expect_program_ends 20 "OK on the notice"
[ -e "$dir/DD.ini" ] && fail "DD.ini was written although the program could not load"
echo "PASS"

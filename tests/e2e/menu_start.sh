#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A desktop user's first start from the application menu: the Exec line of the installed
# menu entry, run with a fresh home folder, opens the window on the sample results, copied
# into the per-user data folder, which then holds DD.ini after "Close". A second start keeps
# a DD.ini changed in between. A folder that cannot be created is named in a message, and
# the program ends with status 1 without writing anything.
# Usage: menu_start.sh BUILD_DIR ARTEFACTS [CMAKE]
set -euo pipefail
build=$1 ARTEFACTS=${2:-} cmake=${3:-cmake}
source "$(dirname "$0")/lib.sh"

stage="$e2e_tmp/stage"
DESTDIR="$stage" "$cmake" --install "$build" --prefix /usr >"$e2e_tmp/install.log" 2>&1 ||
    fail "cmake --install failed"
root="$stage/usr"
samples="$root/share/corvane-dive-analyzer/sample-results"
DIVE_TABLES="$root/bin/dive-tables"
exec_line=$(sed -n 's/^Exec=//p' "$root/share/applications/io.github.corvane.DiveAnalyzer.desktop")
[ -n "$exec_line" ] || fail "the menu entry has no Exec line"

home="$e2e_tmp/home"
data_home="$e2e_tmp/data-home"
folder="$data_home/corvane-dive-analyzer"
mkdir -p "$home"
# As a desktop starts it: in the home folder, the program found on the PATH.
start_from_menu() {
    (cd "$home" && HOME=$home XDG_DATA_HOME=$data_home PATH="$root/bin:$PATH" \
        exec sh -c "exec $exec_line") >"$e2e_tmp/app.log" 2>&1 &
    APP_PID=$!
}

start_x
start_from_menu
main=$(wait_for_window "$MAIN_TITLE")
step "first start: main window shown"
copy_and_compare "$main" $AT_COPY "$(expected_from_dive_tables "$samples" start-M3M)" \
    start-M3M 60 >/dev/null
for event in M3M W3M M10M W10M; do
    cmp -s "$samples/$event" "$folder/$event" || fail "$folder/$event is not the sample $event"
done
[ -e "$folder/DD.ini" ] && fail "DD.ini written before the window closed"
close_program "$main"
expect_settings "$folder" 50 3.0 30 60 5 10 0 0 0 0
[ -z "$(ls -A "$home")" ] || fail "the start wrote into the home folder: $(ls -A "$home")"
step "first start closed; the data folder holds the samples and DD.ini"

sed -i 's/^Nine=.*/Nine=7/; s/^M10M=.*/M10M=3/' "$folder/DD.ini"
start_from_menu
main=$(wait_for_window "$MAIN_TITLE")
step "second start: main window shown"
close_program "$main"
expect_settings "$folder" 50 3.0 30 60 7 10 0 0 3 0
step "second start closed; the changed DD.ini is kept"

data_home="$e2e_tmp/not-a-folder/share"
echo "a file in the way" >"$e2e_tmp/not-a-folder"
start_from_menu
box=$(wait_for_window "$APP_TITLE")
# The box shows the text that standard error also gets.
grep -qxF "$data_home/corvane-dive-analyzer" "$e2e_tmp/app.log" ||
    fail "the message does not name the folder: $(cat "$e2e_tmp/app.log")"
grep -qxF "cannot be created: Not a directory" "$e2e_tmp/app.log" ||
    fail "the message does not say what is wrong: $(cat "$e2e_tmp/app.log")"
window_origin "$box"
dismiss_box "$box" click_in "$box" $((WIN_WIDTH - 45)) $((WIN_HEIGHT - 24))
wait_until 20 program_ended || fail "the program did not end after the message"
status=0
wait "$APP_PID" || status=$?
APP_PID=""
[ $status -eq 1 ] || fail "the program ended with status $status, not 1, on a folder it cannot make"
[ -z "$(ls -A "$home")" ] || fail "the failed start wrote into the home folder: $(ls -A "$home")"
echo "PASS"

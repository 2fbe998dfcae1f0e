#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Adding results from the window, with the keyboard only: Ctrl+I, a path typed into the file
# dialog, Enter in "Add Results" ("Replace them" over the sample results), and the tables are
# those dive-tables prints for the folder, whose old files wait in a dated subfolder. A second
# file is added beside the first, then taken out again in the "Sources" window (Ctrl+Shift+I),
# and the tables are those before it was added.
# Usage: add_results.sh PROGRAM SAMPLE_DIR ARTEFACTS DIVE_TABLES CSV
PROGRAM=$1 SAMPLE_DIR=$2 ARTEFACTS=${3:-} DIVE_TABLES=$4 CSV=$5
source "$(dirname "$0")/lib.sh"

readonly CHOOSER_TITLE="Choose Results to Add"
readonly ADD_TITLE="Add Results"
readonly SOURCES_TITLE="Sources"

# Gives WIN the keyboard: there is no window manager to do it.
focus() { xdotool windowfocus --sync "$1"; }
# Asked of the window itself: a search by title that meets a window going away meanwhile
# may come back empty.
unmapped() { ! xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Gives WIN the keyboard and presses KEYS until it has gone: keys that come before the
# window is ready for them are lost.
keys_until_gone() {
    local win=$1
    shift
    pressed() {
        unmapped "$win" && return 0
        focus "$win" && xdotool key "$@" && wait_until 3 unmapped "$win"
    }
    wait_until 30 pressed "$@" || fail "window $win stayed open after the keys $*"
}

# Ctrl+I, PATH typed into the file dialog, and Enter in "Add Results": its default choice.
add_with_keys() {
    local path=$1
    focus "$main"
    xdotool key ctrl+i
    local chooser
    chooser=$(wait_for_window "$CHOOSER_TITLE")
    focus "$chooser"
    xdotool key ctrl+a
    xdotool type --delay 20 "$path"
    keys_until_gone "$chooser" Return
    local dialog
    dialog=$(wait_for_window "$ADD_TITLE" 60)
    import -window "$dialog" "$e2e_keep/add-$(basename "$path").png"
    keys_until_gone "$dialog" Return
}

# Copies the M3M table until it is what dive-tables prints for the folder now, and that is
# not the table BEFORE: the folder has been written and the window has read it again. NAME
# labels the kept texts; prints the file of the table.
copy_until_folder_table() {
    local before=$1 name=$2
    local got="$e2e_keep/$name.clipboard.txt" expected="$e2e_keep/$name.expected.txt"
    folder_table_shown() {
        "$DIVE_TABLES" --data "$dir" --event M3M | iconv -f LATIN1 -t UTF-8 >"$expected" ||
            return 1
        ! cmp -s "$before" "$expected" &&
            press_and_check_clipboard "$main" $AT_COPY "$expected" "$got"
    }
    if ! wait_until 60 folder_table_shown; then
        show_difference "$expected" "$got"
        fail "$name: the window does not show the table of the folder as written"
    fi
    echo "$expected"
}

start_x
dir=$(make_data_dir)
start_program "$dir"
main=$(wait_for_window "$MAIN_TITLE")
copy_main() {
    copy_and_compare "$main" $AT_COPY "$@" >/dev/null
}
samples=$(expected_from_dive_tables "$dir" samples-M3M --event M3M)
copy_main "$samples" samples-M3M 60
step "sample tables shown"

add_with_keys "$CSV"
replaced=$(copy_until_folder_table "$samples" replaced-M3M)
show_tab "$main" 3
copy_main "$(expected_from_dive_tables "$dir" replaced-W10M --event W10M)" replaced-W10M
show_tab "$main" 0
kept=$(find "$dir" -mindepth 2 -maxdepth 2 -name M3M | head -n 1)
[ -n "$kept" ] && cmp -s "$kept" "$SAMPLE_DIR/M3M" ||
    fail "the sample M3M is not kept in a subfolder of the data folder"
step "added over the samples, which wait in $(basename "$(dirname "$kept")")"

# A second, small file, added beside the first.
trials="$e2e_tmp/trials.csv"
cat >"$trials" <<'CSV'
Event,Diver,Nation,Round,Dive,DD,Points
Men's 3m Springboard,"OKONJO, Tobi",NGR,Final,107B,3.1,74.40
Men's 3m Springboard,"OKONJO, Tobi",NGR,Final,5154B,3.2,70.40
Men's 3m Springboard,"OKONJO, Tobi",NGR,Final,207C,3.6,77.76
Men's 3m Springboard,"VARGA, Bence",HUN,Final,107B,3.1,65.10
CSV
add_with_keys "$trials"
both=$(copy_until_folder_table "$replaced" both-M3M)
step "a second source added"

# Its removal: the second row of "Sources", "Remove", and "Remove" again in the question.
focus "$main"
xdotool key ctrl+shift+i
sources=$(wait_for_window "$SOURCES_TITLE")
focus "$sources"
xdotool key Down alt+r
box=$(wait_for_window "$APP_TITLE")
keys_until_gone "$box" alt+r
keys_until_gone "$sources" Escape
removed=$(copy_until_folder_table "$both" removed-M3M)
cmp -s "$replaced" "$removed" || fail "the table after the removal is not the one before the add"
step "the second source removed: the tables are those before it"

close_program "$main"
echo "PASS"

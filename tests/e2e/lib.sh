# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Shared steps of the end-to-end tests: a private X server, the program started in a
# temporary folder, bounded waits, the pointer, keyboard and clipboard as a user drives them,
# and what to keep when a step fails.
# Sourced by the test scripts; PROGRAM, SAMPLE_DIR, ARTEFACTS and DIVE_TABLES come from the
# caller. E2E_NAME names the artefacts folder (default: the script's name).

set -euo pipefail

e2e_tmp=$(mktemp -d)
e2e_keep="$e2e_tmp/keep" # clipboard texts, expected texts and screenshots worth keeping
mkdir -p "$e2e_keep"
e2e_name=${E2E_NAME:-$(basename "$0" .sh)}
e2e_fail_dir="${ARTEFACTS:-$e2e_tmp}/$e2e_name"
rm -rf "$e2e_fail_dir"
XVFB_PID=""
APP_PID=""
e2e_started=$SECONDS

readonly MAIN_TITLE="WAVO DD Analyser 2008-2012"
readonly APP_TITLE="Corvane Dive Analyzer" # the caption of the message boxes
readonly STATS_TITLE="Dive Statistics"

# Where the program lays out what we press, in its client area (x y). The left panel sits at
# (0, 17), its group "Variables" at (8, 104) and "Refine the results" at (8, 344). Buttons
# are pressed near their left end, which the Dive Statistics window never covers.
readonly AT_COPY="40 45"         # "Copy Table to Clipboard", (16, 16) 169 x 25
readonly AT_POPULATE="40 85"     # "Populate Diver Count", (16, 56)
readonly AT_CLOSE="40 581"       # "Close", (16, 552)
readonly AT_PERCENT="95 219"     # VarPercent, (72, 88) in "Variables", 49 x 21
readonly AT_SORT_COUNT="95 315"  # VarSortCount, (72, 184) in "Variables"
readonly AT_COUNTRY="60 421"     # CountryList, (8, 48) in "Refine the results", 161 x 24
readonly AT_GENERATE="96 509"    # "Re-Generate Stats", (16, 136) in "Refine the results"
# The page control starts at (201, 17); its tabs are buttons 160 px wide, 4 px apart.
readonly TAB_Y=29
readonly TAB_PITCH=164
# Event grid cells: the view's inner corner, default column width 46 and row height 16,
# each with a 1-pixel grid line.
readonly GRID_X=202
readonly GRID_Y=42
readonly CELL_PITCH_X=47
readonly CELL_PITCH_Y=17
# Dive Statistics window: its copy button (8, 42) 137 x 25, and its per-diver grid below the
# 40 px summary and the 29 px title bar, column 0 being 200 px wide.
readonly AT_STATS_COPY="76 54"
readonly STATS_GRID_X=1
readonly STATS_GRID_Y=70
readonly STATS_NAME_WIDTH=200

readonly HEADER_BLUE=5EAAF7
readonly GRID_BACKGROUND=B3D7FB
readonly PINK=FF99FF

e2e_cleanup() {
    local status=$?
    if [ $status -ne 0 ]; then
        mkdir -p "$e2e_fail_dir"
        [ -n "${DISPLAY:-}" ] && import -window root "$e2e_fail_dir/screen.png" 2>/dev/null || true
        cp -f "$e2e_tmp"/*.log "$e2e_fail_dir/" 2>/dev/null || true
        cp -rf "$e2e_keep"/. "$e2e_fail_dir/" 2>/dev/null || true
        echo "FAILED after $((SECONDS - e2e_started)) s: screenshot, program output and" \
            "compared texts kept in $e2e_fail_dir" >&2
    fi
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$e2e_tmp"
    exit $status
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Progress with the time since the start, so that a slow step shows in the log.
step() {
    echo "[$((SECONDS - e2e_started)) s] $*"
}

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds or the time is up.
wait_until() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $deadline ] && return 1
        sleep 0.1
    done
}

start_x() {
    local display_file="$e2e_tmp/display"
    # -noreset: the server would otherwise reset whenever its last client leaves, and a
    # program started during the reset cannot connect (a test that starts it again).
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" \
        >"$e2e_tmp/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until 20 test -s "$display_file" || fail "the X server did not start"
    DISPLAY=":$(head -n 1 "$display_file")"
    export DISPLAY
}

# A folder holding copies of the result files of SOURCE (the sample results by default).
make_data_dir() {
    local source=${1:-$SAMPLE_DIR}
    local dir="$e2e_tmp/data"
    mkdir -p "$dir"
    for event in M3M W3M M10M W10M; do
        [ -f "$source/$event" ] && cp "$source/$event" "$dir/$event"
    done
    echo "$dir"
}

# Starts the program in DIR, with ARGS if given; its output goes to app.log.
start_program() {
    local dir=$1
    shift
    (cd "$dir" && exec "$PROGRAM" "$@") >"$e2e_tmp/app.log" 2>&1 &
    APP_PID=$!
}

program_running() { kill -0 "$APP_PID" 2>/dev/null; }
program_ended() { ! program_running; }

# Waits for the program to end and checks that it ended with status 0.
expect_program_ends() {
    local limit=$1 what=$2
    wait_until "$limit" program_ended || fail "the program did not end after $what"
    local status=0
    wait "$APP_PID" || status=$?
    APP_PID=""
    [ $status -eq 0 ] || fail "the program ended with status $status after $what"
}

# Presses "Close" until the program has ended (a press made while it is still loading may
# come too early), and checks that it ended well.
close_program() {
    local win=$1
    close_pressed() {
        click_in "$win" $AT_CLOSE
        wait_until 2 program_ended
    }
    wait_until 20 close_pressed || fail "the program did not end after Close"
    expect_program_ends 1 "Close"
}

# The id of the first visible window titled exactly TITLE.
window_id() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

window_shown() { [ -n "$(window_id "$1")" ]; }

# How many windows of the program are shown: the open list of a drop-down list is one of
# them (untitled for the search by name).
shown_program_windows() {
    xdotool search --onlyvisible --classname '^corvane-dive-analyzer$' 2>/dev/null | wc -l
}

wait_for_window() {
    wait_until "${2:-20}" window_shown "$1" || fail "no window titled '$1'"
    window_id "$1"
}

# The client area's top-left corner on the screen, as WIN_X and WIN_Y.
window_origin() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    WIN_X=$X WIN_Y=$Y WIN_WIDTH=$WIDTH WIN_HEIGHT=$HEIGHT
}

# Clicks at X,Y relative to the window's client area; BUTTON 1 unless given.
click_in() {
    local win=$1 x=$2 y=$3 button=${4:-1}
    window_origin "$win"
    xdotool mousemove "$((WIN_X + x))" "$((WIN_Y + y))" click "$button"
}

double_click_in() {
    local win=$1 x=$2 y=$3
    window_origin "$win"
    xdotool mousemove "$((WIN_X + x))" "$((WIN_Y + y))" click --repeat 2 --delay 60 1
}

# Clicks into a text field, selects what it holds and types TEXT over it: there is no
# window manager, so the click is what gives the field the keyboard.
text_into() {
    local win=$1 x=$2 y=$3 text=$4
    click_in "$win" "$x" "$y"
    xdotool key ctrl+a
    xdotool type --delay 40 "$text"
}

# A pause longer than the 500 ms after which the drop-down lists start a new search.
readonly SEARCH_PAUSE=0.7

# Opens the drop-down list at X,Y with a click; list_closed then tells when it has closed.
open_list() {
    list_windows=$(shown_program_windows)
    click_in "$1" "$2" "$3"
    wait_until 10 list_open || fail "the list did not open"
}
list_open() { [ "$(shown_program_windows)" -gt "$list_windows" ]; }
list_closed() { [ "$(shown_program_windows)" -eq "$list_windows" ]; }

# Opens the drop-down list at X,Y, types TEXT to pick the first entry that begins with it,
# and takes it with Return.
choose_in_list() {
    open_list "$1" "$2" "$3"
    xdotool type --delay 40 "$4"
    xdotool key Return
    wait_until 10 list_closed || fail "the list did not close after Return"
}

# Types TEXT into the closed drop-down list at X,Y: a click opens it and Escape closes it
# again, which leaves it the keyboard.
type_into_closed_list() {
    open_list "$1" "$2" "$3"
    xdotool key Escape
    wait_until 10 list_closed || fail "the list did not close after Escape"
    xdotool type --delay 40 "$4"
}

show_tab() {
    click_in "$1" "$(tab_x "$2")" "$TAB_Y"
}

# The centre of tab INDEX (0 for M3M) and of cell COL,ROW of an event grid.
tab_x() { echo $((201 + 80 + $1 * TAB_PITCH)); }
cell_x() { echo $((GRID_X + $1 * CELL_PITCH_X + 23)); }
cell_y() { echo $((GRID_Y + $1 * CELL_PITCH_Y + 8)); }
# The same for the per-diver grid of the Dive Statistics window (column 0 is wider).
stats_cell_x() {
    if [ "$1" -eq 0 ]; then
        echo $((STATS_GRID_X + STATS_NAME_WIDTH / 2))
    else
        echo $((STATS_GRID_X + STATS_NAME_WIDTH + 1 + ($1 - 1) * CELL_PITCH_X + 23))
    fi
}
stats_cell_y() { echo $((STATS_GRID_Y + $1 * CELL_PITCH_Y + 8)); }

# Double-clicks a row until the Dive Statistics window shows: two presses that come too far
# apart count as two single presses, which only select the row.
open_breakdown() {
    local win=$1 x=$2 y=$3
    breakdown_shown() {
        double_click_in "$win" "$x" "$y"
        wait_until 3 window_shown "$STATS_TITLE"
    }
    wait_until 20 breakdown_shown || fail "no '$STATS_TITLE' window after a double-click"
    window_id "$STATS_TITLE"
}

# Presses ACTION (a command) until the message box WIN has gone.
dismiss_box() {
    local win=$1
    shift
    box_gone() { ! xdotool getwindowgeometry "$win" >/dev/null 2>&1 || ! box_visible "$win"; }
    box_visible() { xdotool search --onlyvisible --name "^$APP_TITLE\$" | grep -qx "$1"; }
    dismissed() {
        "$@"
        wait_until 2 box_gone
    }
    wait_until 15 dismissed "$@" || fail "the message box did not close"
}

# ---- Colours --------------------------------------------------------------------------

# The colour (RRGGBB) at X,Y of the window's client area, from a screenshot of the screen.
pixel_colour() {
    local win=$1 x=$2 y=$3
    window_origin "$win"
    import -window root "$e2e_keep/screen-last.png"
    convert "$e2e_keep/screen-last.png" -alpha off \
        -format "%[hex:p{$((WIN_X + x)),$((WIN_Y + y))}]" info: | cut -c1-6
}

colour_is() { [ "$(pixel_colour "$1" "$2" "$3")" = "$4" ]; }

# Fails unless the point turns COLOUR within LIMIT seconds.
expect_colour() {
    local win=$1 x=$2 y=$3 colour=$4 what=$5 limit=${6:-10}
    wait_until "$limit" colour_is "$win" "$x" "$y" "$colour" ||
        fail "$what: expected #$colour at ($x, $y), found #$(pixel_colour "$win" "$x" "$y")"
}

# ---- Clipboard ------------------------------------------------------------------------

# The clipboard's text; the program owns it, so it answers only while it runs.
clipboard_text() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }

clipboard_holds() {
    local expected=$1 got=$2
    clipboard_text >"$got" || true
    cmp -s "$expected" "$got"
}

press_and_check_clipboard() {
    local win=$1 x=$2 y=$3 expected=$4 got=$5
    click_in "$win" "$x" "$y"
    wait_until 3 clipboard_holds "$expected" "$got"
}

# Where two tables differ, tabs shown as "|", line ends dropped.
show_difference() {
    diff <(tr -d '\r' <"$1" | tr '\t' '|') <(tr -d '\r' <"$2" | tr '\t' '|') | head -n 20 >&2 ||
        true
}

# Presses the copy button at X,Y until the clipboard holds the text of the file EXPECTED:
# a press made while the program is still busy may be held back or find the table not yet
# there. NAME labels the kept texts and the message.
copy_and_compare() {
    local win=$1 x=$2 y=$3 expected=$4 name=$5 limit=${6:-20}
    local got="$e2e_keep/$name.clipboard.txt"
    if ! wait_until "$limit" press_and_check_clipboard "$win" "$x" "$y" "$expected" "$got"; then
        cp -f "$expected" "$e2e_keep/$name.expected.txt"
        echo "Expected (<) and copied (>) tables of '$name':" >&2
        show_difference "$expected" "$got"
        fail "$name: the copied table is not the expected text"
    fi
    echo "$got"
}

# Expected text from the command-line companion on the result files of DIR, as UTF-8 text
# (the clipboard's encoding; the tables are Latin-1). Prints the file's path.
expected_from_dive_tables() {
    local dir=$1 name=$2
    shift 2
    local file="$e2e_keep/$name.expected.txt"
    "$DIVE_TABLES" --data "$dir" "$@" | iconv -f LATIN1 -t UTF-8 >"$file" ||
        fail "dive-tables $* failed"
    echo "$file"
}

# Fails when a step could pass unnoticed: its expected table equals the one before it.
expect_step_changes() {
    cmp -s "$1" "$2" && fail "$3 would not change the table: the step shows nothing"
    return 0
}

# Field COL (from 0) of row ROW (0 is the header) of a copied table.
table_field() {
    tr -d '\r' <"$1" | awk -F'\t' -v row="$(($2 + 1))" -v col="$(($3 + 1))" \
        'NR == row { print $col }'
}

table_rows() { tr -d '\r' <"$1" | awk 'END { print NR }'; }

# ---- Message boxes ---------------------------------------------------------------------

# Centre points (x y) of the text lines of a message box: bands of pixel rows above its
# button row that hold dark text.
box_text_lines() {
    local win=$1
    window_origin "$win"
    local width=$WIN_WIDTH text_height=$((WIN_HEIGHT - 44))
    local box="$e2e_keep/message-box.png"
    import -window "$win" "$box"
    dark_runs "$box" "$width" "$text_height" 0 rows |
        while read -r top bottom; do
            local left right
            read -r left right < <(dark_runs "$box" "$width" $((bottom - top + 1)) "$top" columns |
                awk 'NR == 1 { l = $1 } { r = $2 } END { print l, r }')
            echo "$(((left + right) / 2)) $(((top + bottom) / 2))"
        done
}

# Runs of pixel rows (or columns) of IMAGE's region WIDTH x HEIGHT at (0, TOP) that hold
# dark pixels, one "first last" per run. The red channel leaves the red error icon out.
dark_runs() {
    local image=$1 width=$2 height=$3 top=$4 axis=$5
    local squeeze="1x${height}!" field=2
    [ "$axis" = columns ] && squeeze="${width}x1!" field=1
    convert "$image" -crop "${width}x${height}+0+${top}" +repage -channel R -separate +channel \
        -threshold 50% -negate -scale "$squeeze" -depth 8 txt:- |
        awk -F'[,:]' -v field="$field" 'BEGIN { start = -1 }
            NR > 1 {
                at = $field + 0
                value = $0
                sub(/^[^(]*\(/, "", value)
                sub(/[,)].*$/, "", value)
                dark = value + 0 > 0
                if (dark && start < 0) start = at
                if (!dark && start >= 0) { print start, at - 1; start = -1 }
                last = at
            }
            END { if (start >= 0) print start, last }'
}

# The text of one line of a message box, selected with a triple click as a user would
# select it (the primary selection then holds it). The selection grows click by click (a
# word, then the line), so it is read until it is EXPECTED or 5 seconds have passed.
box_line_text() {
    local win=$1 x=$2 y=$3 expected=$4
    # xclip keeps serving the marker in the background until the program takes the selection.
    printf 'nothing selected' | xclip -i -selection primary >/dev/null 2>&1
    click_in_triple "$win" "$x" "$y"
    local text deadline=$((SECONDS + 5))
    while text=$(timeout 5 xclip -o -selection primary 2>/dev/null); [ "$text" != "$expected" ]; do
        [ $SECONDS -ge $deadline ] && break
        sleep 0.1
    done
    printf '%s' "$text"
}

click_in_triple() {
    local win=$1 x=$2 y=$3
    window_origin "$win"
    xdotool mousemove "$((WIN_X + x))" "$((WIN_Y + y))" click --repeat 3 --delay 60 1
}

# Fails unless the message box WIN shows exactly the lines given.
expect_box_text() {
    local win=$1
    shift
    local lines=() point
    while read -r point; do lines+=("$point"); done < <(box_text_lines "$win")
    [ ${#lines[@]} -eq $# ] ||
        fail "the message box shows ${#lines[@]} lines of text, expected $# ('$*')"
    local i=0 expected text
    for expected in "$@"; do
        text=$(box_line_text "$win" ${lines[$i]} "$expected")
        [ "$text" = "$expected" ] ||
            fail "message box line $((i + 1)) reads '$text', expected '$expected'"
        i=$((i + 1))
    done
}

# ---- Settings -------------------------------------------------------------------------

# Fails unless DIR/DD.ini holds exactly the ten keys with the given values, in this order.
expect_settings() {
    local dir=$1 count=$2 dd=$3 percent=$4 two_col=$5 nine=$6 sort_count=$7
    local m3m=$8 w3m=$9 m10m=${10} w10m=${11}
    [ -f "$dir/DD.ini" ] || fail "no DD.ini was written"
    local expected actual
    expected="[Values]
Count=$count
DD=$dd
Percent=$percent
TwoCol=$two_col
Nine=$nine
SortCount=$sort_count
[Sort]
M3M=$m3m
W3M=$w3m
M10M=$m10m
W10M=$w10m"
    actual=$(tr -d '\r' <"$dir/DD.ini" | sed '/^$/d')
    [ "$actual" = "$expected" ] || fail "DD.ini differs:"$'\n'"$actual"$'\n'"expected:"$'\n'"$expected"
}

# Shared steps of the end-to-end tests: a private X server, the program started in a
# temporary folder, bounded waits, and what to keep when a step fails.
# Sourced by the test scripts; PROGRAM and ARTEFACTS come from the caller.

set -euo pipefail

e2e_tmp=$(mktemp -d)
e2e_fail_dir="${ARTEFACTS:-$e2e_tmp}/$(basename "$0" .sh)"
XVFB_PID=""
APP_PID=""

e2e_cleanup() {
    local status=$?
    if [ $status -ne 0 ]; then
        mkdir -p "$e2e_fail_dir"
        [ -n "${DISPLAY:-}" ] && import -window root "$e2e_fail_dir/screen.png" 2>/dev/null || true
        cp -f "$e2e_tmp"/*.log "$e2e_fail_dir/" 2>/dev/null || true
        echo "FAILED: screenshot and program output kept in $e2e_fail_dir" >&2
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
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" \
        >"$e2e_tmp/xvfb.log" 2>&1 &
    XVFB_PID=$!
    wait_until 20 test -s "$display_file" || fail "the X server did not start"
    export DISPLAY=":$(head -n 1 "$display_file")"
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

# Starts the program in DIR; its output goes to app.log.
start_program() {
    local dir=$1
    (cd "$dir" && exec "$PROGRAM") >"$e2e_tmp/app.log" 2>&1 &
    APP_PID=$!
}

program_running() { kill -0 "$APP_PID" 2>/dev/null; }

# The id of the first visible window titled exactly TITLE.
window_id() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}

wait_for_window() {
    wait_until "${2:-20}" window_id "$1" || fail "no window titled '$1'"
    window_id "$1"
}

# Clicks at X,Y relative to the window's client area.
click_in() {
    local win=$1 x=$2 y=$3 button=${4:-1}
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove "$((X + x))" "$((Y + y))" click "$button"
}

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window program's answers that need no window: help, version and refused arguments,
# with no display at all, so that any attempt to open a window would fail the run.
# Usage: command_line.sh PROGRAM
set -euo pipefail
program=$1
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# expect STATUS ARGS...: runs the program and checks its exit status.
expect() {
    local wanted=$1 status=0
    shift
    timeout 20 "$program" "$@" >"$out" 2>"$err" || status=$?
    [ "$status" -eq "$wanted" ] || fail "'$*' ended with $status, expected $wanted: $(cat "$err")"
}

expect 0 --help
grep -q '^Usage: corvane-dive-analyzer \[OPTION\]... \[FOLDER\]$' "$out" || fail "no usage line"
[ ! -s "$err" ] || fail "--help wrote to standard error"
expect 0 --version
grep -qx 'corvane-dive-analyzer [0-9][0-9.]*' "$out" || fail "--version printed '$(cat "$out")'"
expect 2 --no-such-option
[ ! -s "$out" ] || fail "a refused option wrote to standard output"
grep -qx "corvane-dive-analyzer: unknown option '--no-such-option'" "$err" ||
    fail "unexpected reason: $(cat "$err")"
expect 2 one two
grep -q "^corvane-dive-analyzer: only one folder" "$err" || fail "unexpected reason: $(cat "$err")"
# A folder that is not there, or a file named as one, is refused before any window appears.
expect 2 /no/such/folder
grep -qx "corvane-dive-analyzer: the folder '/no/such/folder' does not exist" "$err" ||
    fail "unexpected reason: $(cat "$err")"
expect 2 "$out"
grep -qx "corvane-dive-analyzer: '$out' is not a folder" "$err" ||
    fail "unexpected reason: $(cat "$err")"
echo PASS

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed program works like the built one: installs the build into a staging folder
# (as the Debian package lays it out under /usr), checks what landed where, and runs the
# user's session against the installed program, dive-tables and sample results.
# Usage: installed_program.sh BUILD_DIR ARTEFACTS [CMAKE]
set -euo pipefail
build=$1 artefacts=${2:-} cmake=${3:-cmake}
stage="$build/e2e-install"
prefix=/usr

rm -rf "$stage"
DESTDIR="$stage" "$cmake" --install "$build" --prefix "$prefix" >"$build/e2e-install.log" 2>&1 || {
    cat "$build/e2e-install.log" >&2
    echo "FAIL: cmake --install failed" >&2
    exit 1
}
root="$stage$prefix"
program="$root/bin/corvane-dive-analyzer"
dive_tables="$root/bin/dive-tables"
samples="$root/share/corvane-dive-analyzer/sample-results"
man_page=$(ls "$root/share/man/man1/dive-tables.1"* 2>/dev/null | head -n 1)

for file in "$program" "$dive_tables"; do
    [ -x "$file" ] || { echo "FAIL: $file was not installed" >&2; exit 1; }
done
for event in M3M W3M M10M W10M; do
    [ -f "$samples/$event" ] || { echo "FAIL: sample results $event not installed" >&2; exit 1; }
done
[ -n "$man_page" ] || { echo "FAIL: no manual page for dive-tables" >&2; exit 1; }
# The manual page renders without a warning (where groff is there to render it).
if command -v groff >/dev/null; then
    warnings=$( (zcat -f "$man_page" | groff -man -ww -z) 2>&1)
    [ -z "$warnings" ] || { echo "FAIL: the manual page: $warnings" >&2; exit 1; }
fi
"$dive_tables" --help >/dev/null || { echo "FAIL: dive-tables --help" >&2; exit 1; }
echo "installed into $stage"

E2E_NAME=installed_program exec bash "$(dirname "$0")/user_session.sh" \
    "$program" "$samples" "$artefacts" "$dive_tables"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The committed PNG sizes of the icon show what its SVG draws now: each is rendered afresh
# and compared, pixel by pixel, allowing for a renderer's anti-aliasing.
# Usage: icons_current.sh ICON_ROOT   (exit 77, skipped, without rsvg-convert)
set -euo pipefail
icons=$1
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is not installed: skipped"; exit 77; }
fresh=$(mktemp -d)
trap 'rm -rf "$fresh"' EXIT
mkdir -p "$fresh/hicolor"
cp -r "$icons/hicolor/scalable" "$fresh/hicolor/"
bash "$(dirname "$0")/../../scripts/render-icons.sh" "$fresh/hicolor"
for png in "$fresh"/hicolor/*x*/apps/*.png; do
    committed=$icons/hicolor/${png#"$fresh"/hicolor/}
    [ -f "$committed" ] || { echo "FAIL: $committed is missing" >&2; exit 1; }
    differing=$(compare -metric AE -fuzz 10% "$committed" "$png" null: 2>&1) || true
    [ "$differing" = 0 ] || {
        echo "FAIL: $committed differs from its SVG in $differing pixels:" \
            "run scripts/render-icons.sh" >&2
        exit 1
    }
done
echo "PASS"

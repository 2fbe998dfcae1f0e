#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the application icon's PNG sizes from its SVG with rsvg-convert (librsvg2-bin).
# The PNGs are committed, so building needs no SVG renderer; run this after changing the SVG
# (the test icons_current fails until then).
# Usage: scripts/render-icons.sh [ICON_ROOT]   (default: desktop/icons/hicolor)
set -euo pipefail
root=${1:-$(dirname "$0")/../desktop/icons/hicolor}
name=io.github.corvane.DiveAnalyzer
for size in 48 64 128 256; do
    mkdir -p "$root/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$root/scalable/apps/$name.svg" \
        -o "$root/${size}x${size}/apps/$name.png"
done

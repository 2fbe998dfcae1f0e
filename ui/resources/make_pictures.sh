#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Redraws the pictures of the main window with ImageMagick; the results are committed.
# Usage: make_pictures.sh [output folder]
set -e
out=${1:-$(dirname "$0")}

# Logo, shown at its own size (151 x 67): a blue gradient, a wave, the name in white.
convert -size 67x151 gradient:'#5eaaf7'-'#0b3a82' -rotate 90 \
    -fill none -stroke 'rgba(255,255,255,0.35)' -strokewidth 2 \
    -draw "path 'M 0,56 C 25,46 45,66 75,56 S 125,46 151,56'" \
    -stroke 'rgba(255,255,255,0.18)' -strokewidth 1.5 \
    -draw "path 'M 0,62 C 25,52 45,72 75,62 S 125,52 151,62'" \
    -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 24 \
    -gravity north -annotate +0+5 'Corvane' \
    -fill '#dcecff' -font DejaVu-Sans -pointsize 10 -annotate +0+34 'DIVE ANALYZER' \
    -strip -quality 92 -sampling-factor 4:2:0 "$out/logo.jpg"

# Left panel background: a soft, fine-grained blue-grey tile.
convert -size 48x48 xc:gray -seed 11 +noise Random -colorspace Gray -blur 0x0.6 \
    +level 88%,100% -colorspace sRGB -type TrueColor \( -size 48x48 xc:'#d8e2ef' \) -compose multiply -composite \
    -depth 8 -strip "PNG24:$out/panel_texture.png"

# Picture of the "Close" button: a red disc with a white cross.
convert -size 16x16 xc:none -fill '#c62828' -stroke '#8e1b1b' -draw 'circle 7.5,7.5 7.5,0.8' \
    -stroke white -strokewidth 2 -draw 'line 5,5 10,10' -draw 'line 10,5 5,10' \
    -strip "PNG32:$out/close.png"

#!/usr/bin/env bash
# Draws monster-db-editor.png, the 128-pixel icon, with ImageMagick from the same shapes as
# monster-db-editor.svg (ImageMagick on Debian 12 cannot read SVG without an extra renderer).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
convert -size 128x128 xc:none \
    -fill '#2b4c7e' -draw 'roundrectangle 4,4 123,123 20,20' \
    -fill '#f4f1e8' -draw 'roundrectangle 18,16 89,103 6,6' \
    -fill '#c9d6ea' -draw 'roundrectangle 18,16 89,31 6,6' \
    -stroke '#8a9bb5' -strokewidth 3 \
    -draw 'line 28,44 80,44' -draw 'line 28,56 80,56' -draw 'line 28,68 64,68' \
    -draw 'line 28,80 56,80' -draw 'line 28,92 52,92' \
    -stroke none -fill '#e4573d' -draw 'path "M 58,112 C 56,88 70,68 88,68 C 106,68 120,88 118,112 Z"' \
    -fill white -draw 'ellipse 80,88 7,8 0,360' -draw 'ellipse 98,88 7,8 0,360' \
    -fill '#1d1d1d' -draw 'circle 82,90 85.5,90' -draw 'circle 100,90 103.5,90' \
    -fill none -stroke '#1d1d1d' -strokewidth 3 -draw 'path "M 80,102 Q 89,108 98,102"' \
    -depth 8 -strip monster-db-editor.png

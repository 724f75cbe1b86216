#!/usr/bin/env bash
# Draws the about box's two pictures (ImageMagick). The JPEGs are committed;
# run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
# Banner, 360 x 50: a blue band with a row of folder tabs and the name.
convert -size 360x50 gradient:'#1c3f94-#7fa7e8' -rotate 0 \
  -fill '#f3c94a' -stroke '#9a7414' -strokewidth 1 \
  -draw 'roundrectangle 14,14 30,20 2,2' -draw 'roundrectangle 12,18 46,40 3,3' \
  -fill '#f7dc7c' -draw 'roundrectangle 24,22 58,42 3,3' \
  -stroke none -fill white -font DejaVu-Sans-Bold -pointsize 22 -annotate +72+33 'Pathnook' \
  -fill '#dfe8fb' -font DejaVu-Sans -pointsize 11 -annotate +200+32 'your favourite folders' \
  -quality 90 banner.jpg
# Icon, 32 x 32: a folder with a red bookmark on a pale ground.
convert -size 32x32 xc:'#eef3fd' \
  -fill '#e0a825' -stroke '#8a6510' -draw 'roundrectangle 3,6 14,11 2,2' \
  -fill '#f3c94a' -draw 'roundrectangle 2,9 29,27 2,2' \
  -fill '#d43030' -stroke '#8a1c1c' -draw 'polygon 20,4 26,4 26,17 23,14 20,17' \
  -quality 92 icon.jpg
# The program's icon at 16, 32 and 48 pixels: the same folder and bookmark.
for s in 16 32 48; do
  f=$(awk "BEGIN { print $s / 32 }")
  convert -size ${s}x${s} xc:none -draw "scale $f,$f fill '#e0a825' stroke '#8a6510' roundrectangle 3,6 14,11 2,2 fill '#f3c94a' roundrectangle 2,9 29,27 2,2 fill '#d43030' stroke '#8a1c1c' polygon 20,4 26,4 26,17 23,14 20,17" "/tmp/pathnook-icon$s.png"
done
convert /tmp/pathnook-icon16.png /tmp/pathnook-icon32.png /tmp/pathnook-icon48.png pathnook.ico
rm -f /tmp/pathnook-icon*.png

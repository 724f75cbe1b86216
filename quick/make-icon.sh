#!/usr/bin/env bash
# Draws the notification-area icon (ImageMagick): a folder with a red
# bookmark, 16 and 32 pixels, on a transparent ground. The .ico is
# committed; run this again only to change it.
set -euo pipefail
cd "$(dirname "$0")"
convert -size 32x32 xc:none \
  -fill '#e0a825' -stroke '#8a6510' -draw 'roundrectangle 3,6 14,11 2,2' \
  -fill '#f3c94a' -draw 'roundrectangle 2,9 29,27 2,2' \
  -fill '#d43030' -stroke '#8a1c1c' -draw 'polygon 20,4 26,4 26,17 23,14 20,17' \
  icon32.png
convert icon32.png -resize 16x16 icon16.png
convert icon16.png icon32.png PathnookQuick.ico
rm -f icon16.png icon32.png

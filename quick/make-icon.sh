#!/usr/bin/env bash
# Draws the notification-area icon (ImageMagick): a folder with a red
# bookmark on a transparent ground, drawn at each size the tray and the
# title bars take between 96 and 192 DPI. The .ico is committed; run this
# again only to change it.
set -euo pipefail
cd "$(dirname "$0")"
sizes="16 20 24 32 40 48 64"
for s in $sizes; do
  f=$(awk "BEGIN { print $s / 32 }")
  convert -size ${s}x${s} xc:none -strokewidth "$f" \
    -fill '#e0a825' -stroke '#8a6510' -draw "scale $f,$f roundrectangle 3,6 14,11 2,2" \
    -fill '#f3c94a' -draw "scale $f,$f roundrectangle 2,9 29,27 2,2" \
    -fill '#d43030' -stroke '#8a1c1c' -draw "scale $f,$f polygon 20,4 26,4 26,17 23,14 20,17" \
    "icon$s.png"
done
convert $(for s in $sizes; do echo "icon$s.png"; done) PathnookQuick.ico
rm -f $(for s in $sizes; do echo "icon$s.png"; done)

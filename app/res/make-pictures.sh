#!/usr/bin/env bash
# Draws the about box's two pictures (ImageMagick), each for 96, 120, 144
# and 192 DPI: drawn at the scale, never stretched. The JPEGs and the icon
# are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
for dpi in 96 120 144 192; do
  f=$(awk "BEGIN { print $dpi / 96 }")
  s() { awk "BEGIN { printf \"%d\", $1 * $f + 0.5 }"; }
  suffix=$([ $dpi = 96 ] && echo "" || echo "-$dpi")
  # Banner, 360 x 50 at 96 DPI: a blue band with a row of folder tabs and the name.
  convert -size "$(s 360)x$(s 50)" gradient:'#1c3f94-#7fa7e8' \
    -fill '#f3c94a' -stroke '#9a7414' -strokewidth "$f" \
    -draw "scale $f,$f roundrectangle 14,14 30,20 2,2" -draw "scale $f,$f roundrectangle 12,18 46,40 3,3" \
    -fill '#f7dc7c' -draw "scale $f,$f roundrectangle 24,22 58,42 3,3" \
    -stroke none -fill white -font DejaVu-Sans-Bold -pointsize "$(s 22)" -annotate "+$(s 72)+$(s 33)" 'Pathnook' \
    -fill '#dfe8fb' -font DejaVu-Sans -pointsize "$(s 11)" -annotate "+$(s 200)+$(s 32)" 'your favourite folders' \
    -quality 90 "banner$suffix.jpg"
  # Icon, 32 x 32 at 96 DPI: a folder with a red bookmark on a pale ground.
  convert -size "$(s 32)x$(s 32)" xc:'#eef3fd' -strokewidth "$f" \
    -fill '#e0a825' -stroke '#8a6510' -draw "scale $f,$f roundrectangle 3,6 14,11 2,2" \
    -fill '#f3c94a' -draw "scale $f,$f roundrectangle 2,9 29,27 2,2" \
    -fill '#d43030' -stroke '#8a1c1c' -draw "scale $f,$f polygon 20,4 26,4 26,17 23,14 20,17" \
    -quality 92 "icon$suffix.jpg"
done
# The program's icon at every size a title bar, task bar or Explorer asks
# for between 96 and 192 DPI: the same folder and bookmark.
sizes="16 20 24 32 40 48 64"
for s in $sizes; do
  f=$(awk "BEGIN { print $s / 32 }")
  convert -size ${s}x${s} xc:none -draw "scale $f,$f fill '#e0a825' stroke '#8a6510' roundrectangle 3,6 14,11 2,2 fill '#f3c94a' roundrectangle 2,9 29,27 2,2 fill '#d43030' stroke '#8a1c1c' polygon 20,4 26,4 26,17 23,14 20,17" "/tmp/pathnook-icon$s.png"
done
convert $(for s in $sizes; do echo "/tmp/pathnook-icon$s.png"; done) pathnook.ico
rm -f /tmp/pathnook-icon*.png

#!/usr/bin/env bash
# Takes docs/quick-menu.png: the quick menu opened with its hot key over a
# sample list, folder icons on, in a fresh prefix on a display of its own;
# docs/quick-menu-find.png: the same menu over Notepad's Open dialog with
# "pro" typed in it; and docs/add-folder.png: "Add This Folder..." chosen
# there. With a DPI (scripts/quick-screenshot.sh 144) the prefix runs at
# that scale and the pictures are named quick-menu-144.png and so on.
set -euo pipefail
source "$(dirname "$0")/common.sh"
DPI="${1:-96}"
SUFFIX=$([ "$DPI" = 96 ] && echo "" || echo "-$DPI")
S() { echo $(( ($1 * DPI + 48) / 96 )); }
pn_fresh_session
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
pn_restart_server
# A crop of w x h at 96 DPI from x, y (the menu opens at the pointer, which
# is not scaled); with "centre", about the screen's centre.
grab() {
  local w h x y; w=$(S "$2"); h=$(S "$3")
  if [ "$4" = centre ]; then x=$(((1280 - w) / 2)); y=$(((1024 - h) / 2)); else x=$4; y=$5; fi
  import -display "$DISPLAY" -window root -crop "${w}x${h}+$x+$y" +repage "$ROOT/docs/$1$SUFFIX.png"
  echo "docs/$1$SUFFIX.png"
}
add() { wine reg add 'HKCU\Software\Pathnook' /v "$1" /d "$2" /f >/dev/null 2>&1; }
mkdir -p "$PN_TEMP_PREFIX/drive_c/Projects/Pathnook" "$PN_TEMP_PREFIX/drive_c/users/Έγγραφα"
i=0
while IFS='|' read -r alias path; do add "N$i" "$alias"; add "P$i" "$path"; i=$((i + 1)); done <<'LIST'
Windows Directory|C:\windows
Program Files|C:\Program Files
*Separator*|-
Projects|C:\Projects
Pathnook sources|C:\Projects\Pathnook
Έγγραφα|C:\users\Έγγραφα
*Separator*|-
Old backups|C:\backups-2019
Fonts|C:\windows\Fonts
LIST
add PicView 1
add ExploerFolder 1
wine "$BUILD/bin/PathnookQuick.exe" >/dev/null 2>&1 &
for _ in $(seq 100); do xdotool search --classname pathnookquick >/dev/null 2>&1 && break; sleep 0.2; done
sleep 3
xdotool mousemove 500 300
xdotool key super+alt+f
sleep 2
grab quick-menu 240 220 495 295
xdotool key Escape
sleep 1

wine notepad >/dev/null 2>&1 &
for _ in $(seq 100); do xdotool search --name 'Notepad' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 2
xdotool key ctrl+o
sleep 3
xdotool mousemove 300 200
xdotool key super+alt+f
sleep 2
xdotool type --delay 150 pro
sleep 2
grab quick-menu-find 700 480 0 0
xdotool key Escape
sleep 1
xdotool key super+alt+f
sleep 2
xdotool key End Return
sleep 2
grab add-folder 460 260 centre
xdotool key Escape

#!/usr/bin/env bash
# Takes docs/quick-menu.png: the quick menu opened with its hot key over a
# sample list, folder icons on, in a fresh prefix on a display of its own;
# docs/quick-menu-find.png: the same menu over Notepad's Open dialog with
# "pro" typed in it; and docs/add-folder.png: "Add This Folder..." chosen
# there.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
pn_restart_server
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
import -display "$DISPLAY" -window root -crop 240x220+495+295 +repage "$ROOT/docs/quick-menu.png"
echo "docs/quick-menu.png"
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
import -display "$DISPLAY" -window root -crop 700x480+0+0 +repage "$ROOT/docs/quick-menu-find.png"
echo "docs/quick-menu-find.png"
xdotool key Escape
sleep 1
xdotool key super+alt+f
sleep 2
xdotool key End Return
sleep 2
import -display "$DISPLAY" -window root -crop 460x260+410+380 +repage "$ROOT/docs/add-folder.png"
echo "docs/add-folder.png"
xdotool key Escape

#!/usr/bin/env bash
# Takes the pictures in docs/: the main window with a sample list, its menus,
# the about box, the item dialog (plain, refusing a path, as a separator) and
# the options dialog, driven with real keys and clicks in a fresh prefix on a
# display of its own. With a DPI (scripts/screenshots.sh 144) the prefix runs
# at that scale and the pictures are named main-window-144.png and so on.
set -euo pipefail
source "$(dirname "$0")/common.sh"
DPI="${1:-96}"
SUFFIX=$([ "$DPI" = 96 ] && echo "" || echo "-$DPI")
S() { echo $(( ($1 * DPI + 48) / 96 )); }
pn_fresh_session
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
pn_restart_server
app="$PN_TEMP_PREFIX/drive_c/Pathnook"
mkdir -p "$app"
cp "$BUILD/bin/Pathnook.exe" "$BUILD/bin/Pathnook.chm" "$app/"

add() { wine reg add 'HKCU\Software\Pathnook' /v "$1" /d "$2" /f >/dev/null 2>&1; }
add Seed 0; wine reg delete 'HKCU\Software\Pathnook' /v Seed /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Pathnook\Install' /v Seeded /d 1 /f >/dev/null 2>&1
i=0
while IFS='|' read -r alias path; do add "N$i" "$alias"; add "P$i" "$path"; i=$((i + 1)); done <<'LIST'
Windows Directory|C:\windows
Program Files|C:\Program Files
*Separator*|-
Projects|C:\Projects
Pathnook sources|C:\Projects\Pathnook
Έγγραφα|C:\users\Έγγραφα
*Separator*|-
Downloads|C:\users\root\Downloads
LIST

# The main window is centred: 475 x 396 at 96 DPI on a 1280 x 1024 desktop;
# places in it are given at 96 DPI and scaled.
X0=$(((1280 - $(S 475)) / 2)); Y0=$(((1024 - $(S 396)) / 2))
name() { echo "${1%.png}$SUFFIX.png"; }
shot() { sleep 1.5; import -display "$DISPLAY" -window root -crop "$(S 560)x$(S 470)+$((X0 - $(S 20)))+$((Y0 - $(S 20)))" +repage "$ROOT/docs/$(name "$1")"; echo "docs/$(name "$1")"; }
at() { xdotool mousemove $((X0 + $(S $1))) $((Y0 + $(S $2))); }
wine "$app/Pathnook.exe" >/dev/null 2>&1 &
for _ in $(seq 50); do w=$(xdotool search --name '^Pathnook [0-9.]+$' 2>/dev/null | head -1) && [ -n "$w" ] && break; sleep 0.2; done
sleep 2
at 60 110; xdotool click 1   # the first row of the list
shot main-window.png
at 60 110; xdotool click 3   # the list's right-click menu on the same row
shot list-menu.png
xdotool key Escape
xdotool key alt+f; sleep 0.3; xdotool key Down Down Down
shot file-menu.png
xdotool key Escape Escape
xdotool key alt+v; sleep 0.3; xdotool key Down
shot view-menu.png
xdotool key Escape Escape
at 40 110; xdotool click 1; at 128 70; sleep 0.5   # over the Up button
shot toolbar-hot.png
xdotool key alt+h; sleep 0.3; xdotool key a
shot about.png
xdotool key Return
sleep 0.5

# The dialogs are centred on the main window, itself centred on the screen:
# a crop of w x h at 96 DPI about the screen's centre.
crop() {
  sleep 1.5
  local w h; w=$(S "$2"); h=$(S "$3")
  import -display "$DISPLAY" -window root -crop "${w}x${h}+$(((1280 - w) / 2))+$(((1024 - h) / 2))" +repage "$ROOT/docs/$(name "$1")"
  echo "docs/$(name "$1")"
}
at 200 200; xdotool click 1; xdotool mousemove 1200 1000   # the pointer off the controls
xdotool key ctrl+a; sleep 1
xdotool type --delay 30 "Tools"; xdotool key Tab; xdotool type --delay 30 'C:\Tools'
crop item-dialog.png 323 228
xdotool key alt+o   # the path does not exist: the second message comes up
crop item-dialog-refused.png 420 280
xdotool key Return; sleep 0.5
xdotool key Tab space   # from the path field to the separator box, checked
crop item-dialog-separator.png 323 228
xdotool key alt+c; sleep 0.8
xdotool key ctrl+o
crop options-dialog.png 374 224
xdotool key alt+c; sleep 0.5
wineserver -k

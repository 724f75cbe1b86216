#!/usr/bin/env bash
# Runs Pathnook under Wine in a fresh prefix and display, opens the item
# dialog (plain, as a separator, with a refused path) and the options dialog
# with real keys and clicks, and saves pictures of them under docs/.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_install_deps
pn_build Release
unset DISPLAY
pn_display
trap 'kill "$APP_PID" 2>/dev/null || true; pn_cleanup' EXIT
PN_TEMP_PREFIX="$(mktemp -d /tmp/pathnook-wine.XXXXXX)"
pn_prefix "$PN_TEMP_PREFIX"
run="$(mktemp -d)"
cp "$BUILD/bin/Pathnook.exe" "$run/"
(cd "$run" && exec wine explorer /desktop=pathnook,1280x1024 Pathnook.exe >/dev/null 2>&1) &
APP_PID=$!
for _ in $(seq 100); do xdotool search --name "Pathnook 1.8.3" >/dev/null 2>&1 && break; sleep 0.2; done
sleep 2

# The main window and its dialogs are centred on the 1280 x 1024 screen.
shot() { import -display "$DISPLAY" -window root -crop "$2" +repage "$1"; }
xdotool mousemove 640 650 click 1   # activate the main window, on its list
sleep 0.5
xdotool mousemove 1200 1000         # keep the pointer off the controls
xdotool key ctrl+a
sleep 1.5
xdotool type --delay 30 "Tools"
xdotool key Tab
xdotool type --delay 30 'C:\Tools'
sleep 0.5
shot "$ROOT/docs/item-dialog.png" 323x228+479+398
# OK: the path does not exist, so the second message comes up over the dialog.
xdotool key alt+o
sleep 1.5
shot "$ROOT/docs/item-dialog-refused.png" 420x280+430+372
xdotool key Return
sleep 0.5
# The focus is back in the path field: Tab to the separator box and check it.
xdotool key Tab space
sleep 0.8
shot "$ROOT/docs/item-dialog-separator.png" 323x228+479+398
# Cancel with the button's accelerator, then the options dialog.
xdotool key alt+c
sleep 0.8
xdotool key ctrl+o
sleep 1.5
shot "$ROOT/docs/options-dialog.png" 358x224+461+400
xdotool key alt+c
sleep 0.5
rm -rf "$run"
echo "Wrote docs/item-dialog*.png and docs/options-dialog.png"

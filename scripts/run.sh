#!/usr/bin/env bash
# Builds Pathnook and starts it under Wine, with the quick menu
# (PathnookQuick.exe, Win+Alt+F) beside it: on $DISPLAY, or in Xvfb when
# there is none (then a screenshot is left in build/screenshot.png).
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_install_deps
pn_build Release
pn_display
# Help > Help opens Pathnook.chm in Wine's help viewer, which shows its pages
# with Wine's HTML engine (Gecko); Debian does not package it, so the pages
# come up blank. The same pages are beside the build as plain HTML.
echo "Help under Wine: Debian ships no Wine Gecko, so the help viewer shows blank pages."
echo "Read the same pages in any browser: $BUILD/bin/help/index.html"
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-pathnook}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then pn_prefix "$WINEPREFIX"; pn_restart_server; fi
# A prefix made by an older set-up may resolve the fonts elsewhere.
pn_check_faces || echo "Pathnook starts anyway; remove $WINEPREFIX to have it made again with the right faces."
if [ -n "${PN_STARTED_XVFB:-}" ]; then
  trap pn_cleanup EXIT
  echo "No display: Pathnook runs in Xvfb on $DISPLAY; taking a screenshot in 8 seconds."
  wine "$BUILD/bin/PathnookQuick.exe" &
  wine "$BUILD/bin/Pathnook.exe" &
  sleep 8
  import -display "$DISPLAY" -window root "$BUILD/screenshot.png"
  echo "Screenshot: $BUILD/screenshot.png"
  wineserver -k
else
  # A second start of the quick menu leaves at once, so this is safe to repeat.
  wine "$BUILD/bin/PathnookQuick.exe" &
  wine "$BUILD/bin/Pathnook.exe"
fi

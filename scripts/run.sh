#!/usr/bin/env bash
# Builds Pathnook and starts it under Wine, with the quick menu
# (PathnookQuick.exe, Win+Alt+F) beside it: on $DISPLAY, or in Xvfb when
# there is none (then a screenshot is left in build/screenshot.png).
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_install_deps
pn_build Release
pn_display
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-pathnook}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then pn_prefix "$WINEPREFIX"; pn_restart_server; fi
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

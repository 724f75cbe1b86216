#!/usr/bin/env bash
# Builds the flat control gallery, runs it under Wine in a fresh prefix and
# display, and saves its picture as docs/flat-controls.png; with a DPI
# (scripts/gallery.sh 144), at that scale as docs/flat-controls-144.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"
DPI="${1:-96}"
SUFFIX=$([ "$DPI" = 96 ] && echo "" || echo "-$DPI")
pn_fresh_session
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
out="$(mktemp -d)"
(cd "$out" && wine "$BUILD/bin/flatctrls_gallery.exe" flat-controls.bmp)
mkdir -p "$ROOT/docs"
convert "$out/flat-controls.bmp" "$ROOT/docs/flat-controls$SUFFIX.png"
rm -rf "$out"
echo "Wrote $ROOT/docs/flat-controls$SUFFIX.png"

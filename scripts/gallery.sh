#!/usr/bin/env bash
# Builds the flat control gallery, runs it under Wine in a fresh prefix and
# display, and saves its pictures as docs/flat-controls.png and, under a
# high-contrast scheme, docs/flat-controls-high-contrast.png; with a DPI
# (scripts/gallery.sh 144), at that scale as docs/flat-controls-144.png and
# docs/flat-controls-high-contrast-144.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"
DPI="${1:-96}"
SUFFIX=$([ "$DPI" = 96 ] && echo "" || echo "-$DPI")
pn_fresh_session
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$DPI" /f >/dev/null 2>&1
out="$(mktemp -d)"
(cd "$out" && wine "$BUILD/bin/flatctrls_gallery.exe" flat-controls.bmp &&
  wine "$BUILD/bin/flatctrls_gallery.exe" flat-controls-high-contrast.bmp high-contrast)
mkdir -p "$ROOT/docs"
for name in flat-controls flat-controls-high-contrast; do
  convert "$out/$name.bmp" "$ROOT/docs/$name$SUFFIX.png"
  echo "Wrote $ROOT/docs/$name$SUFFIX.png"
done
rm -rf "$out"

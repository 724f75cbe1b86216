#!/usr/bin/env bash
# Builds the flat control gallery, runs it under Wine in a fresh prefix and
# display, and saves its picture as docs/flat-controls.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
out="$(mktemp -d)"
(cd "$out" && wine "$BUILD/bin/flatctrls_gallery.exe" flat-controls.bmp)
mkdir -p "$ROOT/docs"
convert "$out/flat-controls.bmp" "$ROOT/docs/flat-controls.png"
rm -rf "$out"
echo "Wrote $ROOT/docs/flat-controls.png"

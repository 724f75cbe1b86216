#!/usr/bin/env bash
# Builds the flat control gallery, runs it under Wine in a fresh prefix and
# display, and saves its pictures as docs/flat-controls.png and, under a
# high-contrast scheme, docs/flat-controls-high-contrast.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
out="$(mktemp -d)"
(cd "$out" && wine "$BUILD/bin/flatctrls_gallery.exe" flat-controls.bmp &&
  wine "$BUILD/bin/flatctrls_gallery.exe" flat-controls-high-contrast.bmp high-contrast)
mkdir -p "$ROOT/docs"
for name in flat-controls flat-controls-high-contrast; do
  convert "$out/$name.bmp" "$ROOT/docs/$name.png"
  echo "Wrote $ROOT/docs/$name.png"
done
rm -rf "$out"

#!/usr/bin/env bash
# Builds Pathnook and every test, then runs them under Wine in a fresh
# prefix and Xvfb display. Ends with CTest's summary.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_install_deps
pn_build Release
unset DISPLAY  # tests get a display of their own
pn_display
trap pn_cleanup EXIT
PN_TEMP_PREFIX="$(mktemp -d /tmp/pathnook-wine.XXXXXX)"
pn_prefix "$PN_TEMP_PREFIX"
cd "$BUILD"
ctest --output-on-failure --timeout 600 "$@"

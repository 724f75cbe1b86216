#!/usr/bin/env bash
# Builds Pathnook and every test, then runs them under Wine in a fresh
# prefix and Xvfb display. Ends with CTest's summary.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
cd "$BUILD"
ctest --output-on-failure --timeout 600 "$@"

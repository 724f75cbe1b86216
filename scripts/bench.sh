#!/usr/bin/env bash
# Times start-up, delete and sort with 10,000 entries against the bare
# registry reads and writes they need.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_install_deps
pn_build Release
unset DISPLAY
pn_display
trap pn_cleanup EXIT
PN_TEMP_PREFIX="$(mktemp -d /tmp/pathnook-wine.XXXXXX)"
pn_prefix "$PN_TEMP_PREFIX"
wine "$BUILD/bin/store_bench.exe"

#!/usr/bin/env bash
# Times start-up, delete and sort with 10,000 entries against the bare
# registry reads and writes they need; then the quick menu with 1,000
# entries against a bare TrackPopupMenu of as many items.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
wine "$BUILD/bin/store_bench.exe"
wine "$BUILD/bin/quick_bench.exe"

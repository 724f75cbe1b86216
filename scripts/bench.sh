#!/usr/bin/env bash
# Timings, each beside a floor measured in the same run: the store's
# commands with 10,000 entries (store); the whole start, closing, import and
# memory with 10,000 entries (start); the quick menu with 1,000 entries
# beside a bare TrackPopupMenu of as many items (quick). Arguments pick
# benches; none runs them all.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
for bench in "${@:-store start quick}"; do
  for b in $bench; do wine "$BUILD/bin/${b}_bench.exe"; done
done

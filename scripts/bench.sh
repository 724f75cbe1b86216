#!/usr/bin/env bash
# Timings with 10,000 entries, each beside a floor measured in the same run:
# the store's commands (store), and the whole start, closing, import and
# memory (start). Arguments pick benches; none runs both.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
for bench in "${@:-store start}"; do
  for b in $bench; do wine "$BUILD/bin/${b}_bench.exe"; done
done

#!/usr/bin/env bash
# Times start-up, delete and sort with 10,000 entries against the bare
# registry reads and writes they need.
set -euo pipefail
source "$(dirname "$0")/common.sh"
pn_fresh_session
wine "$BUILD/bin/store_bench.exe"

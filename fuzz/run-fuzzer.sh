#!/usr/bin/env bash
# run-fuzzer.sh FUZZER CORPUS FOUND [OPTIONS...]: fuzzes for PLIMO_FUZZ_SECONDS (default 5) seconds,
# starting from the kept CORPUS; new inputs go to FOUND, so the kept corpus stays as it is.
set -euo pipefail
fuzzer=$1 corpus=$2 found=$3
shift 3
mkdir -p "$found"
exec "$fuzzer" -max_total_time="${PLIMO_FUZZ_SECONDS:-5}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$@" "$found" "$corpus"

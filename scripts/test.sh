#!/usr/bin/env bash
# Runs every test of both builds: the portable core natively (sanitizers, short fuzzing runs),
# then the Windows player under Wine on a private X display. Installs what is missing first.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
jobs=${PLIMO_JOBS:-2}

"$repo/scripts/install-deps.sh"

log=$(mktemp)
status=0

echo "== host build: portable core, sanitizers, fuzzers"
cmake --preset host >/dev/null
cmake --build --preset host -j "$jobs"
ctest --preset host -j "$jobs" 2>&1 | tee -a "$log" || status=1

echo "== windows build: the player under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
source "$repo/scripts/wine-session.sh"
trap stop_wine_session EXIT
start_private_display
prepare_wine_prefix unmanaged
ctest --preset windows -j "$jobs" 2>&1 | tee -a "$log" || status=1
stop_wine_session

passed=0 failed=0
while read -r p f; do
    passed=$((passed + p - f)) failed=$((failed + f))
done < <(sed -nE 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\2 \1/p' "$log")
rm -f "$log"
[ "$failed" -eq 0 ] || status=1
echo "tests: $passed passed, $failed failed"
exit "$status"

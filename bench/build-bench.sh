#!/usr/bin/env bash
# build-bench.sh [COUNT]: how long plimo-maker.exe takes under Wine to build a quiz of COUNT
# (default 96) phone photos (4000 x 3000 JPEGs, bench/make-photos.sh), against Debian's
# `djpeg -scale 1/8` decoding the same photos one after the other, in the same run, as a ratio.
# Median of 3 runs each. Needs the Windows build; runs on a private Xvfb display.
# PLIMO_BENCH_MAKER=OTHER/plimo-maker.exe times another maker (an earlier one, say) instead.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
count=${1:-96}
work=$repo/build/bench
photos=$work/Photos-$count
maker=${PLIMO_BENCH_MAKER:-$repo/build/windows/bin/plimo-maker.exe}
runs=3

"$repo/bench/make-photos.sh" "$photos" "$count"
source "$repo/scripts/wine-session.sh"
trap stop_wine_session EXIT
start_private_display
prepare_wine_prefix unmanaged

milliseconds() { date +%s%3N; }

median() { sort -n | sed -n "$(( (runs + 1) / 2 ))p"; }

djpeg_all() {
    local start photo
    start=$(milliseconds)
    for photo in "$photos"/Photo*.jpg; do
        djpeg -scale 1/8 "$photo" >/dev/null
    done
    echo $(( $(milliseconds) - start ))
}

build() {
    local start
    start=$(milliseconds)
    # Its warnings ("Photo 1" and "Photo 2" judge each other near misses) are no matter here.
    "$repo/scripts/wine-run.sh" "$maker" build "$photos/quiz.toml" -o "$work/build-bench.exe" \
        >/dev/null 2>&1
    echo $(( $(milliseconds) - start ))
}

rm -f "$photos/quiz.toml"
"$repo/scripts/wine-run.sh" "$maker" new "$photos" >/dev/null 2>&1
build >/dev/null # Wine's first start of the day is not the maker's
djpeg_ms=$(for i in $(seq 1 "$runs"); do djpeg_all; done | median)
build_ms=$(for i in $(seq 1 "$runs"); do build; done | median)
printf 'photos: %d of 4000 x 3000\n' "$count"
printf 'djpeg -scale 1/8, one after the other: %6d ms\n' "$djpeg_ms"
printf 'plimo-maker.exe build under Wine:       %6d ms\n' "$build_ms"
printf 'ratio: %s\n' "$(echo "scale=2; $build_ms / $djpeg_ms" | bc)"

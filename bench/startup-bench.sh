#!/usr/bin/env bash
# startup-bench.sh: a quiz of 96 phone photos (4000 x 3000 JPEGs), made by plimo-maker.exe with
# its pictures kept as they are (--keep-pictures, what the maker did before it prepared them)
# and prepared for the board; prints each executable's size, how long the maker took, and the
# time from starting the quiz under Wine to its board being on screen (median of 3 runs). A
# text-list sample's start is printed too: the part of every start that is Wine's own.
#
# Needs the Windows build (cmake --preset windows && cmake --build --preset windows) and runs on
# a private Xvfb display. Its files go to build/bench (about 300 MB).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$repo/build/bench
photos=$work/Photos
maker=$repo/build/windows/bin/plimo-maker.exe
runs=3

"$repo/bench/make-photos.sh" "$photos" 96
source "$repo/scripts/wine-session.sh"
trap stop_wine_session EXIT
start_private_display
prepare_wine_prefix unmanaged
run_wine() { "$repo/scripts/wine-run.sh" "$@"; }

milliseconds() { date +%s%3N; }

# build NAME [OPTIONS...]: makes $work/NAME.exe from the photos and prints how long it took.
build() {
    local name=$1 start
    shift
    start=$(milliseconds)
    # Its warnings (no codes, "Photo 1" and "Photo 2" near misses) are no matter here.
    run_wine "$maker" build "$photos/quiz.toml" -o "$work/$name.exe" "$@" >/dev/null 2>&1
    echo $(( $(milliseconds) - start ))
}

# board_ready QUIZ.exe TITLE: milliseconds from starting the quiz to its window being shown,
# which the player does once the board is built with every picture.
board_ready() {
    local start elapsed
    start=$(milliseconds)
    start_quiz "$1" "$2"
    elapsed=$(( $(milliseconds) - start ))
    close_quiz
    echo "$elapsed"
}

median_ready() {
    local times=() i
    for i in $(seq 1 "$runs"); do
        times+=("$(board_ready "$1" "$2")")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

rm -f "$photos/quiz.toml"
run_wine "$maker" new "$photos" >/dev/null
rm -f "$work"/*.txt # progress files of earlier runs
printf '%-34s %12s %10s %14s\n' "quiz of 96 photos, 4000 x 3000" "exe size" "maker" "board ready"
for variant in kept prepared; do
    options=()
    [ "$variant" = kept ] && options=(--keep-pictures)
    made=$(build "photos-$variant" "${options[@]}")
    size=$(stat -c %s "$work/photos-$variant.exe")
    ready=$(median_ready "$work/photos-$variant.exe" Photos)
    printf '%-34s %9d KB %7d ms %11d ms\n' "pictures $variant" $((size / 1024)) "$made" "$ready"
done
cp "$repo/build/windows/samples/capitales.exe" "$work/"
printf '%-34s %12s %10s %11d ms\n' "text list (capitales), for Wine" "" "" \
    "$(median_ready "$work/capitales.exe" "Les capitales d'Europe")"

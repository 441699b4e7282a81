#!/usr/bin/env bash
# end-to-end.sh QUIZ.exe INSPECT.exe: plays the sample text-list quiz with real keystrokes
# (xdotool on the test display), saves, closes, starts it again and checks what it shows.
# Run by ctest inside scripts/test.sh, which provides the display and the Wine prefix.
set -euo pipefail
quiz=$1 inspect=$2
wine_run=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-run.sh
export DISPLAY=${PLIMO_DISPLAY:?run from scripts/test.sh}
title="Les capitales d'Europe"
fail() { echo "FAIL: $*"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$quiz" "$work/capitales.exe"
cd "$work"

wait_for() { # wait_for CONDITION...: up to 15 s
    for _ in $(seq 1 150); do "$@" && return 0; sleep 0.1; done
    return 1
}
start_player() {
    "$wine_run" ./capitales.exe >/dev/null 2>&1 &
    player_pid=$!
    wait_for eval 'xdotool search --name "^$title\$" >/dev/null 2>&1' || fail "no player window"
    sleep 1
}
close_player() {
    xdotool key --delay 100 alt+F4
    wait_for eval '! kill -0 $player_pid 2>/dev/null' || fail "Alt+F4 did not close the player"
}
check() { # check "ID=TEXT"...: what the player shows in those controls
    local expected got
    expected=$(printf '%s\n' "$@")
    got=$("$wine_run" "$inspect" "$title" "${@%%=*}" | tr -d '\r')
    [ "$got" = "$expected" ] || fail "expected ${expected//$'\n'/ }, got ${got//$'\n'/ }"
}

start_player
# One click into the middle of the first answer field, as a player would, then the keyboard alone.
where=$("$wine_run" "$inspect" "$title" @4001 | tr -d '\r')
where=${where#*@}
xdotool mousemove "${where%,*}" "${where#*,}" click 1 sleep 0.5 type --delay 40 'paris'
xdotool key Tab type --delay 40 'rmoe'
xdotool key Return sleep 0.5
check "5001=BRAVO" "5002=Anagramme" "32= 1 / 14"
xdotool key Shift+Tab sleep 0.3 key Tab type --delay 40 'rome'
xdotool key Return F2 sleep 0.5
check "5002=BRAVO" "32= 2 / 14"
close_player
printf 'paris\r\nrome\r\n' | cmp -n 13 - capitales.txt || fail "saved answers"

start_player
check "4001=paris" "5001=BRAVO" "5002=BRAVO" "32= 2 / 14"
close_player
echo "passed"

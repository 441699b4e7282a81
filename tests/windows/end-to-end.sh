#!/usr/bin/env bash
# end-to-end.sh QUIZ.exe INSPECT.exe: plays the sample text-list quiz with real keystrokes
# (xdotool on the test display), saves, closes, starts it again and checks what it shows.
# Run by ctest inside scripts/test.sh, which provides the display and the Wine prefix.
set -euo pipefail
quiz=$1 inspect=$2
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
wine_run=$repo/scripts/wine-run.sh
export DISPLAY=${PLIMO_DISPLAY:?run from scripts/test.sh}
title="Les capitales d'Europe"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$quiz" "$work/capitales.exe"
cd "$work"

player_pid=""
start_player() {
    "$wine_run" ./capitales.exe >/dev/null 2>&1 &
    player_pid=$!
    for _ in $(seq 1 150); do
        window=$(xdotool search --name "^$title\$" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && return 0
        sleep 0.1
    done
    echo "FAIL: the player window did not appear"
    exit 1
}

check() { # check ID TEXT
    local line
    line=$("$wine_run" "$inspect" "$title" "$1" | tr -d '\r')
    if [ "$line" != "$1=$2" ]; then
        echo "FAIL: expected '$1=$2', got '$line'"
        exit 1
    fi
    echo "ok: $line"
}

close_player() {
    xdotool key --delay 100 alt+F4
    for _ in $(seq 1 100); do
        kill -0 "$player_pid" 2>/dev/null || return 0
        sleep 0.1
    done
    echo "FAIL: Alt+F4 did not close the player"
    exit 1
}

click_control() { # click_control ID: where a player would click, in the middle of it
    local where
    where=$("$wine_run" "$inspect" "$title" "@$1" | tr -d '\r')
    where=${where#*@}
    xdotool mousemove "${where%,*}" "${where#*,}" click 1
}

start_player
sleep 1
# One click into the first answer field, then the keyboard alone.
click_control 4001
sleep 0.5
xdotool type --delay 40 'paris'
xdotool key Tab
xdotool type --delay 40 'rmoe'
xdotool key Return
sleep 0.5
check 5001 BRAVO
check 5002 Anagramme
check 32 " 1 / 14"
xdotool key Shift+Tab
sleep 0.3
xdotool key Tab
xdotool type --delay 40 'rome'
xdotool key Return F2
sleep 0.5
check 5002 BRAVO
check 32 " 2 / 14"
close_player
printf 'paris\r\nrome\r\n' | cmp -n 13 - capitales.txt || { echo "FAIL: saved answers"; exit 1; }
echo "ok: capitales.txt holds the typed answers"

start_player
sleep 1
check 4001 paris
check 5001 BRAVO
check 5002 BRAVO
check 32 " 2 / 14"
close_player
echo "passed"

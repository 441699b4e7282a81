#!/usr/bin/env bash
# sample-screenshots.sh: plays each sample quiz under Wine on a private Xvfb display and writes
# a picture of its window to samples/screenshots/NAME.png, for README.md. Run it again when the
# player's look changes.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"
samples=(capitales drapeaux animaux couleurs)

"$repo/scripts/install-deps.sh"
# The host build's maker prepares the sample quizzes for the Windows build.
cmake --preset host >/dev/null
cmake --build --preset host --target plimo-maker >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target "${samples[@]}" >/dev/null

source "$repo/scripts/wine-session.sh"
work=$(mktemp -d)
trap 'stop_wine_session; rm -rf "$work"' EXIT
start_private_display
prepare_wine_prefix unmanaged
out=$repo/samples/screenshots
mkdir -p "$out"

# shoot SAMPLE: starts the sample from a folder of its own (its progress file goes there), waits
# for its window, and keeps the part of the screen that the window covers.
shoot() {
    local sample=$1 title pid window="" X Y WIDTH HEIGHT SCREEN WINDOW
    # The window's caption is the quiz's title, found by a regular expression: "?" is a letter.
    title=$(sed -n 's/^title = "\(.*\)"$/\1/p' "samples/$sample/quiz.toml" |
        sed 's/[][\.*^$?+(){}|]/\\&/g')
    cp "build/windows/samples/$sample.exe" "$work/"
    (cd "$work" && exec "$repo/scripts/wine-run.sh" "./$sample.exe") >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 1 300); do
        window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "$sample: its window did not appear" >&2; return 1; }
    sleep 2 # every control painted
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xwd -root -silent -display "$PLIMO_DISPLAY" |
        /usr/bin/convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip \
            -colors 256 "png:$out/$sample.png"
    xdotool key --window "$window" alt+F4
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "wrote $out/$sample.png ($(stat -c %s "$out/$sample.png") bytes)"
}

for sample in "${samples[@]}"; do
    shoot "$sample"
done

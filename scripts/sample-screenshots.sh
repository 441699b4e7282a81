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

# shoot SAMPLE: starts the sample from a folder of its own, waits for its window, and keeps the
# part of the screen that the window covers.
shoot() {
    local sample=$1 title X Y WIDTH HEIGHT SCREEN WINDOW
    # The window's caption is the quiz's title, found by a regular expression: "?" is a letter.
    title=$(sed -n 's/^title = "\(.*\)"$/\1/p' "samples/$sample/quiz.toml" |
        sed 's/[][\.*^$?+(){}|]/\\&/g')
    cp "build/windows/samples/$sample.exe" "$work/"
    start_quiz "$work/$sample.exe" "$title"
    sleep 2 # every control painted
    eval "$(xdotool getwindowgeometry --shell "$quiz_window")"
    xwd -root -silent -display "$PLIMO_DISPLAY" |
        /usr/bin/convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip \
            -colors 256 "png:$out/$sample.png"
    close_quiz
    echo "wrote $out/$sample.png ($(stat -c %s "$out/$sample.png") bytes)"
}

for sample in "${samples[@]}"; do
    shoot "$sample"
done

#!/usr/bin/env bash
# play.sh [QUIZ.exe]: builds the player and the sample quizzes and plays a quiz under Wine on
# your display. Without an argument it plays the sample picture quiz (drapeaux). The progress
# file is written beside the quiz.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/install-deps.sh"
# The host build's maker prepares the sample quizzes for the Windows build.
cmake --preset host >/dev/null
cmake --build --preset host --target plimo-maker
cmake --preset windows >/dev/null
cmake --build --preset windows --target plimo capitales drapeaux animaux couleurs
quiz=$(realpath "${1:-$repo/build/windows/samples/drapeaux.exe}")

source "$repo/scripts/wine-session.sh"
trap stop_wine_session EXIT
prepare_display "playing"
cd "$(dirname "$quiz")"
"$repo/scripts/wine-run.sh" "$quiz"

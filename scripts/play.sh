#!/usr/bin/env bash
# play.sh [QUIZ.exe]: builds the player and plays a quiz under Wine on your display. Without an
# argument it plays the player's built-in quiz. The progress file is written beside the quiz.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/install-deps.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target plimo
quiz=$(realpath "${1:-$repo/build/windows/bin/plimo.exe}")

source "$repo/scripts/wine-session.sh"
trap stop_wine_session EXIT
if [ -n "${DISPLAY:-}" ] && display_works "$DISPLAY"; then
    export PLIMO_DISPLAY=$DISPLAY
    prepare_wine_prefix managed
else
    start_private_display
    echo "no display found: playing on the virtual display $PLIMO_DISPLAY"
    prepare_wine_prefix unmanaged
fi
cd "$(dirname "$quiz")"
"$repo/scripts/wine-run.sh" "$quiz"

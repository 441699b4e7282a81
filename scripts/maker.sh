#!/usr/bin/env bash
# maker.sh COMMAND ARGS...: the quiz maker (plimo-maker.exe) under Wine, for authors on Linux.
#   scripts/maker.sh new my-quiz                # my-quiz/quiz.toml from the photos in my-quiz
#   scripts/maker.sh build my-quiz/quiz.toml -o my-quiz.exe
#   scripts/maker.sh show my-quiz.exe
#   scripts/maker.sh judge my-quiz/quiz.toml 3 "tour eifel"
# Paths are taken from the folder you run it in. On Windows, run plimo-maker.exe itself.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
here=$(pwd)

(
    cd "$repo"
    "$repo/scripts/install-deps.sh"
    cmake --preset windows >/dev/null
    cmake --build --preset windows --target plimo-maker >/dev/null
)
source "$repo/scripts/wine-session.sh"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wine wineboot --init >/dev/null 2>&1 || true
    wineserver -w
fi
cd "$here"
exec "$repo/scripts/wine-run.sh" "$repo/build/windows/bin/plimo-maker.exe" "$@"

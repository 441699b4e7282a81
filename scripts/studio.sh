#!/usr/bin/env bash
# studio.sh [FOLDER|QUIZ.toml|QUIZ.exe]: builds plimo-studio.exe and runs it under Wine on your
# display, opening what it is given: a folder of photos, sounds or videos, a quiz source or a
# quiz executable. Without an argument it opens an empty quiz. On Windows, run
# plimo-studio.exe itself (or drop a folder on its icon).
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Taken before moving to the repository: a relative path means the folder the author is in.
target=""
if [ $# -gt 0 ]; then
    target=$(realpath "$1")
    [ -e "$target" ] || { echo "studio.sh: $1 not found" >&2; exit 2; }
fi
cd "$repo"

"$repo/scripts/install-deps.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target plimo-studio

source "$repo/scripts/wine-session.sh"
trap stop_wine_session EXIT
prepare_display "the studio runs"
# Wine shows the machine's root as drive Z:.
if [ -n "$target" ]; then
    "$repo/scripts/wine-run.sh" "$repo/build/windows/bin/plimo-studio.exe" "Z:$target"
else
    "$repo/scripts/wine-run.sh" "$repo/build/windows/bin/plimo-studio.exe"
fi

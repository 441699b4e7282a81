#!/usr/bin/env bash
# studio-screenshot.sh: opens samples/drapeaux in plimo-studio under Wine on a private Xvfb
# display and writes a picture of its window to samples/screenshots/studio.png, for README.md.
# Run it again when the studio's look changes.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo"

"$repo/scripts/install-deps.sh"
cmake --preset windows >/dev/null
cmake --build --preset windows --target plimo-studio >/dev/null

# A prefix of its own: the studio offers back what an earlier session left unsaved in the
# prefix of scripts/studio.sh, which is the author's and not this script's to clear.
export PLIMO_WINEPREFIX=$repo/build/screenshot-prefix
rm -rf "$PLIMO_WINEPREFIX"/drive_c/users/*/AppData/Local/plimo
source "$repo/scripts/wine-session.sh"
trap stop_wine_session EXIT
start_private_display
prepare_wine_prefix unmanaged
out=$repo/samples/screenshots/studio.png

"$repo/scripts/wine-run.sh" "$repo/build/windows/bin/plimo-studio.exe" \
    "Z:$repo/samples/drapeaux" >/dev/null 2>&1 &
studio_pid=$!
window=""
for tries in $(seq 1 600); do
    window=$(xdotool search --onlyvisible --name "Plimo Studio\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the studio's window did not appear" >&2; exit 1; }
sleep 3 # thumbnails made, every control painted
eval "$(xdotool getwindowgeometry --shell "$window")"
xwd -root -silent -display "$PLIMO_DISPLAY" |
    /usr/bin/convert xwd:- -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip -colors 256 \
        "png:$out"
xdotool key --window "$window" alt+F4 2>/dev/null || true
sleep 1
kill "$studio_pid" 2>/dev/null || true
wait "$studio_pid" 2>/dev/null || true
echo "wrote $out ($(stat -c %s "$out") bytes)"

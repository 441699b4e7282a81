# Sourced by the scripts that run Windows programs (test.sh, play.sh, maker.sh,
# sample-screenshots.sh, bench/startup-bench.sh): one X display and one Wine prefix for a run.
# Stops only what it started, by process id or by its own prefix.

repo=${repo:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export PLIMO_WINEPREFIX=${PLIMO_WINEPREFIX:-$repo/build/wine-prefix}
export WINEPREFIX=$PLIMO_WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
started_xvfb_pid=""

display_works() {
    xdpyinfo -display "$1" >/dev/null 2>&1
}

# Starts a private Xvfb on the first free display from :91 and exports PLIMO_DISPLAY.
start_private_display() {
    local n
    for n in $(seq 91 140); do
        [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        started_xvfb_pid=$!
        local tries
        for tries in $(seq 1 100); do
            if display_works ":$n"; then
                export PLIMO_DISPLAY=":$n" DISPLAY=":$n"
                return 0
            fi
            kill -0 "$started_xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill "$started_xvfb_pid" 2>/dev/null || true
        started_xvfb_pid=""
    done
    echo "cannot start Xvfb" >&2
    return 1
}

# prepare_wine_prefix managed|unmanaged: creates the prefix once (parallel first use of a fresh
# prefix fails), and keeps one wineserver alive for the run so each program does not pay for
# starting it. On a display without a window manager, windows must be unmanaged: Wine waits two
# seconds for a window manager to confirm each hidden managed window (every message box).
prepare_wine_prefix() {
    local windows=$1
    # A server left from another run may hold another display: start afresh.
    wineserver -k 2>/dev/null || true
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wine wineboot --init >/dev/null 2>&1 || true
        wineserver -w
    fi
    wineserver -p
    # A crashing test must fail at once, not wait behind a crash dialog.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
        >/dev/null 2>&1
    if [ "$windows" = unmanaged ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        # The private display has no sound device, which Wine needs to play a clip at all: a
        # null ALSA device stands in for one.
        export PLIMO_WINE_HOME=$repo/build/wine-home
        mkdir -p "$PLIMO_WINE_HOME"
        printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' \
            >"$PLIMO_WINE_HOME/.asoundrc"
    else
        wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
        # On the user's own display the quiz is heard: Wine keeps the user's HOME and with it
        # the sound setup (PulseAudio, PipeWire or ALSA) found there.
        unset PLIMO_WINE_HOME
    fi
}

# prepare_display WHAT: the user's own display when there is one (windows managed, sound heard),
# else a private virtual one, saying that WHAT runs there.
prepare_display() {
    if [ -n "${DISPLAY:-}" ] && display_works "$DISPLAY"; then
        export PLIMO_DISPLAY=$DISPLAY
        prepare_wine_prefix managed
    else
        start_private_display
        echo "no display found: $1 on the virtual display $PLIMO_DISPLAY"
        prepare_wine_prefix unmanaged
    fi
}

# start_quiz QUIZ.exe TITLE: starts a quiz from its own folder (its progress file goes there) and
# waits, five minutes at most, for its window to be shown: the player shows it once the board is
# built. TITLE is a regular expression for the whole caption. Sets quiz_pid and quiz_window.
start_quiz() {
    local quiz=$1 title=$2 deadline=$((SECONDS + 300))
    (cd "$(dirname "$quiz")" && exec "$repo/scripts/wine-run.sh" "$quiz") >/dev/null 2>&1 &
    quiz_pid=$!
    quiz_window=""
    while [ "$SECONDS" -lt "$deadline" ]; do
        quiz_window=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1 || true)
        [ -n "$quiz_window" ] && return 0
        sleep 0.02
    done
    echo "the window of $quiz did not appear" >&2
    return 1
}

# close_quiz: closes the quiz that start_quiz started as a player would (Alt+F4), and ends its
# process by its id if it is still there ten seconds later.
close_quiz() {
    [ -n "${quiz_window:-}" ] && xdotool key --window "$quiz_window" alt+F4 2>/dev/null || true
    local tries
    for tries in $(seq 1 100); do
        kill -0 "$quiz_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$quiz_pid" 2>/dev/null || true
    wait "$quiz_pid" 2>/dev/null || true
}

stop_wine_session() {
    wineserver -k 2>/dev/null || true
    if [ -n "$started_xvfb_pid" ]; then
        kill "$started_xvfb_pid" 2>/dev/null || true
        wait "$started_xvfb_pid" 2>/dev/null || true
        started_xvfb_pid=""
    fi
}

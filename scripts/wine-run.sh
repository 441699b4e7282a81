#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]: runs a Windows program under Wine with the project's own
# prefix and display. ctest uses it for every Windows test; scripts/test.sh sets the variables.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${PLIMO_WINEPREFIX:-$repo/build/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export LC_ALL=C.UTF-8
if [ -n "${PLIMO_DISPLAY:-}" ]; then export DISPLAY=$PLIMO_DISPLAY; fi
if [ -n "${PLIMO_WINE_HOME:-}" ]; then export HOME=$PLIMO_WINE_HOME; fi
exec wine "$@"

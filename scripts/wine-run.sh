#!/usr/bin/env bash
# Runs a Windows program of the cross build under wine64, headless: ctest's
# emulator for the tests, and scripts/windows.sh's for the programs.
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENTS...]
# TABULON_WINEPREFIX and TABULON_WINE_DLLS (directories, ":" between them)
# come from scripts/windows.sh.
set -euo pipefail
export WINEPREFIX="${TABULON_WINEPREFIX:?set by scripts/windows.sh}"
export WINEDEBUG="${WINEDEBUG:--all}"
# wine hands no QT_* variable of Linux to a Windows program; WINE<name> sets
# <name> for it.
export WINEQT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The offscreen platform on Windows reads fonts from one directory: wine's
# own, which holds the Tahoma the windows are laid out for.
export WINEQT_QPA_FONTDIR='Z:\usr\share\wine\fonts'
# Without this QtTest writes through OutputDebugString, which nobody reads.
export WINEQT_FORCE_STDERR_LOGGING=1
path=""
IFS=: read -ra dlls <<< "${TABULON_WINE_DLLS:?set by scripts/windows.sh}"
for dir in "${dlls[@]}"; do path+="${path:+;}Z:${dir//\//\\}"; done
export WINEPATH="$path"
# Debian keeps wine64 out of PATH; /usr/bin/wine would pick it too, by a detour.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
exec "$wine" "$@"

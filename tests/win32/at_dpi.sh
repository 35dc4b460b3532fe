#!/usr/bin/env bash
# Runs a Windows program in a Wine prefix of its own whose screen is set to a given DPI:
#   at_dpi.sh WINE-RUN PREFIX DPI PROGRAM [ARGUMENTS...]
# Wine reads the DPI when a session starts, so the prefix's server is stopped after the setting changes.
# The program learns the DPI it should find from SETIP_DPI.
set -euo pipefail
wine_run=$1 prefix=$(realpath -m "$2") dpi=$3
shift 3
"$wine_run" "$prefix" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w
status=0
SETIP_DPI=$dpi "$wine_run" "$prefix" "$@" || status=$?
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true
exit $status

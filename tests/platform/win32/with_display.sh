#!/usr/bin/env bash
# Runs a Windows program under wine on an Xvfb of its own: the program's
# windows are X windows there, its clipboard is the display's CLIPBOARD.
# The prefix's wine processes end with the display, so that the next run
# starts its desktop on its own display.
#   with_display.sh WINE_RUN PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
wine_run=$1
prefix=$2
shift 2
source "$(dirname "$0")/../../e2e/lib.sh"
e2e_init
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null || true; e2e_cleanup' EXIT
start_xvfb
"$wine_run" "$prefix" "$@"

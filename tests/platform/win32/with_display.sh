#!/usr/bin/env bash
# Runs a Windows program under wine on an Xvfb of its own: the program's
# windows are X windows there, its clipboard is the display's CLIPBOARD.
#   with_display.sh WINE_RUN PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
export SEEKER_WINE_RUN=$1 SEEKER_WINE_PREFIX=$2
shift 2
source "$(dirname "$0")/../../e2e/lib.sh"
e2e_init
start_xvfb
program "$@"

#!/usr/bin/env bash
# Runs a Windows program under wine in the build's own wine prefix: the
# emulator of the Windows build, so ctest runs every test program through it.
# The prefix is made once, by the first program that needs it; a server
# started here stays 20 s after its last program, so the programs of a test
# run share it (ctest keeps one running for a whole run: wine-session.sh).
#   wine-run.sh PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
export WINEPREFIX=$1
shift
source "$(dirname "$0")/wine-prefix.sh"
wine_up 20
exec wine "$@"

#!/usr/bin/env bash
# The wine server of a ctest run (the build tree's CTestCustom.cmake runs this
# before and after the tests): started once, booted before any test program
# runs, kept for the whole run and ended after it. A server that ended between
# two programs would be started again by the next one, racing its start.
#   wine-session.sh PREFIX begin|end
set -euo pipefail
export WINEPREFIX=$1
source "$(dirname "$0")/wine-prefix.sh"
# Whatever still runs in the prefix is left from an earlier run (or is the
# server of the configure step, which would end in the middle of this one).
wineserver -k >/dev/null 2>&1 || true
wineserver -w
case $2 in
  begin) wine_up ;;
  end) ;;
  *) echo "usage: wine-session.sh PREFIX begin|end" >&2; exit 2 ;;
esac

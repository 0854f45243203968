#!/usr/bin/env bash
# Runs a Windows program under wine in the build's own wine prefix: the
# emulator of the Windows build, so ctest and test discovery run every test
# program through it. The prefix is made once, by the first program that
# needs it; later ones wait for it under a lock.
#   wine-run.sh PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=-all
# The programs are console programs: no wine window for the prompts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ ! -e "$WINEPREFIX/.ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -e "$WINEPREFIX/.ready" ]; then
      rm -rf "$WINEPREFIX"
      wineboot -i >/dev/null 2>&1
      # The window's font, under a name the machine has.
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "Microsoft YaHei" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "微软雅黑" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# One server for a whole test run: it stays 20 s after its last program
# instead of starting anew for each (a second start just fails).
wineserver -p20 </dev/null >/dev/null 2>&1 || true
exec wine "$@"

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
      # The faces the window names (微软雅黑 for its big labels and edits, 宋体
      # for the library's default font), each under its Chinese and English
      # name, point at WenQuanYi Micro Hei from fonts-wqy-microhei. A UTF-16
      # registry file carries the Chinese names whatever the locale (wine
      # reads command-line arguments in the locale's encoding).
      fonts_reg="$WINEPREFIX.fonts.reg"
      {
        printf '\xff\xfe'
        printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
          '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]' \
          '"Microsoft YaHei"="WenQuanYi Micro Hei"' '"微软雅黑"="WenQuanYi Micro Hei"' \
          '"SimSun"="WenQuanYi Micro Hei"' '"宋体"="WenQuanYi Micro Hei"' |
          iconv -f UTF-8 -t UTF-16LE
      } >"$fonts_reg"
      wine reg import "Z:${fonts_reg//\//\\}" >/dev/null 2>&1
      rm -f "$fonts_reg"
      wineserver -w
      touch "$WINEPREFIX/.ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi
# One server for a whole test run: it stays 20 s after its last program
# instead of starting anew for each (a second start just fails).
wineserver -p20 </dev/null >/dev/null 2>&1 || true
exec wine "$@"

# The build's wine prefix and its server, for wine-run.sh and wine-session.sh
# (sourced; WINEPREFIX is set). Both are made under one lock, so programs
# started together never race to make them.

export WINEDEBUG=-all
# The programs are console programs: no wine window for the prompts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

make_prefix() {
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # The faces the window names (微软雅黑 for its big labels and edits, 宋体
  # for the library's default font), each under its Chinese and English
  # name, point at WenQuanYi Micro Hei from fonts-wqy-microhei. A UTF-16
  # registry file carries the Chinese names whatever the locale (wine
  # reads command-line arguments in the locale's encoding).
  local fonts_reg="$WINEPREFIX.fonts.reg"
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
}

# wine_up [SECONDS]: makes the prefix if it is not there yet and, when no
# server runs for it, starts one that stays SECONDS after its last program
# (without SECONDS, until it is killed) and boots it.
#
# Booting starts the prefix's own processes (services.exe, winedevice.exe,
# plugplay.exe, ...), which live as long as the server. Wine hands them the
# standard error of the program that happens to connect first; were that a
# test, ctest would wait for that output to close until the server ended,
# which a hanging program or a busy test run puts off indefinitely. So a
# program without output boots the server before any other program runs.
wine_up() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    # The server and the processes it keeps must not inherit the lock.
    {
      [ -e "$WINEPREFIX/.ready" ] || make_prefix
      if wineserver "-p${1:-}" </dev/null >/dev/null 2>&1; then
        # Bounded: a boot that never ends would hold the lock, and every
        # program with it.
        timeout 300 wine cmd /c exit </dev/null >/dev/null 2>&1 || true
      fi
    } 9>&-
  ) 9>"$WINEPREFIX.lock"
}

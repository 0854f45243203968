#!/usr/bin/env bash
# seeker.exe under wine on an Xvfb of its own, against the Linux build's demo
# sites: a double click on a row hands the row's link, unchanged, to the
# program registered for magnet: links in the wine prefix (link_recorder.exe),
# and the status box keeps the row's line and adds the outcome; the close
# button then ends the program with code 0.
#   e2e_open_link_windows.sh WINE_RUN PREFIX SEEKER_EXE RECORDER_EXE LINUX_BUILD
set -euo pipefail
export SEEKER_WINE_RUN=$1 SEEKER_WINE_PREFIX=$2
seeker=$3 recorder=$4 linux=$5
source "$(dirname "$0")/lib.sh"
e2e_init
export LIST_GEOMETRY=$linux/tests/e2e/list_geometry
for tool in "$linux/tools/demo-sites/demo-sites" "$linux/tests/e2e/search_plan" "$LIST_GEOMETRY"; do
  [ -x "$tool" ] || fail "the Linux build's $tool is needed"
done

start_xvfb
# After the display: the first wine program of the prefix starts its desktop
# and clipboard keeper on the display it is given.
drive() { printf 'Z:%s' "${1//\//\\}"; }
registry() { "$SEEKER_WINE_RUN" "$SEEKER_WINE_PREFIX" reg "$@" >/dev/null 2>&1; }
received=$E2E_WORK/received
registry add 'HKCR\magnet' /ve /d 'URL:magnet' /f
registry add 'HKCR\magnet' /v 'URL Protocol' /d '' /f
registry add 'HKCR\magnet\shell\open\command' /ve \
  /d "\"$(drive "$recorder")\" \"$(drive "$received")\" \"%1\"" /f || fail "cannot register the recorder"
trap 'registry delete "HKCR\magnet" /f || true; e2e_cleanup' EXIT
start_demo "$linux/tools/demo-sites/demo-sites" --last-page 1
start_seeker "$seeker"
set_keyword 电影
set_pages 1
click_start
wait_status '^搜索完毕！本次耗时[0-9]+秒'

"$linux/tests/e2e/search_plan" "$DEMO_PORT" 电影 1 1,2,3,4,5,6,7,8 1 >"$E2E_WORK/plan"
IFS=$'\t' read -r _ title link < <(grep '^hit 2	' "$E2E_WORK/plan")
row_y 2
xdotool mousemove $((WX + 300)) $((WY + ROW_Y)) click --repeat 2 --delay 80 1
line="【$title】 下载地址：  $link"
for _ in $(seq 1 20); do text=$(status_text); [ "$text" != "$line" ] && break; sleep 0.3; done
[ "$text" = "$line"$'\n'"【$title】的下载地址已交给 magnet 链接的默认程序......" ] ||
  fail "status after the double click: $text"
for _ in $(seq 1 100); do [ -f "$received" ] && break; sleep 0.1; done
[ -f "$received" ] || fail "the handler received nothing"
[ "$(cat "$received")" = "$link" ] || fail "the handler got '$(cat "$received")', row 2's link is $link"
echo "double click handed row 2's link to the magnet: handler unchanged; the status box says so"

click_close
wait_exit "$SEEKER_PID"
[ "$EXIT_CODE" = 0 ] || fail "seeker.exe ended with $EXIT_CODE"

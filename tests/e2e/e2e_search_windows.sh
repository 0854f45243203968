#!/usr/bin/env bash
# seeker.exe under wine on an Xvfb of its own, against the Linux build's demo
# sites, driven as the Linux program is: the window at 975 x 547; a click on
# the background leaves it in place and a drag moves it; a Chinese keyword
# typed, two pages of sites 1 and 4 searched with the requests in their
# order; row 7 clicked and its link copied to the X clipboard; a stop while
# a page hangs; the close button ends the program with code 0. Screenshots
# of the idle and the finished window stay in OUTPUT_FOLDER.
#   e2e_search_windows.sh WINE_RUN PREFIX SEEKER_EXE LINUX_BUILD OUTPUT_FOLDER
set -euo pipefail
export SEEKER_WINE_RUN=$1 SEEKER_WINE_PREFIX=$2
seeker=$3 linux=$4 out=$5
mkdir -p "$out"
source "$(dirname "$0")/lib.sh"
e2e_init
export LIST_GEOMETRY=$linux/tests/e2e/list_geometry
plan=$linux/tests/e2e/search_plan
for tool in "$linux/tools/demo-sites/demo-sites" "$plan" "$LIST_GEOMETRY"; do
  [ -x "$tool" ] || fail "the Linux build's $tool is needed"
done

window_place() {
  xwininfo -id "$WIN" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
    /Width/ { w = $2 } /Height/ { h = $2 } END { print x, y, w, h }'
}

start_xvfb
# Page 3 of site 1 never comes: the two-page search does not reach it, the
# three-page one hangs there until it is stopped.
start_demo "$linux/tools/demo-sites/demo-sites" --stall 1:3
start_seeker "$seeker"
read -r WX WY width height < <(window_place)
[ "$width x $height" = "975 x 547" ] || fail "window of $width x $height"
sleep 1.5  # wine shows the entry animation's last frames a little later
shoot "$out/seeker-windows-idle.png"
echo "window of 975 x 547 at $WX,$WY"

# The background right of the title: a click does not move the window, a
# drag moves it with the pointer.
click_at 600 20
sleep 0.3
[ "$(window_place)" = "$WX $WY 975 547" ] || fail "a click moved the window to $(window_place)"
xdotool mousemove $((WX + 600)) $((WY + 20)) mousedown 1
for step in 1 2 3 4 5 6; do
  xdotool mousemove $((WX + 600 + 10 * step)) $((WY + 20 + 5 * step))
  sleep 0.05
done
sleep 0.2
xdotool mouseup 1
sleep 0.3
# The system's move starts at the first motion past its drag threshold, so
# the window may trail the pointer by that first step.
read -r x y _ < <(window_place)
dx=$((x - WX)) dy=$((y - WY))
((dx >= 40 && dx <= 60 && dy >= 20 && dy <= 30)) ||
  fail "a drag of 60,30 from $WX,$WY left the window at $x,$y"
read -r WX WY _ < <(window_place)
echo "a click leaves the window in place; a drag moves it"

keyword=盗梦空间
search_sites_1_and_4 "$keyword" 2
point_at 700 20
sleep 0.3
shoot "$out/seeker-windows-finished.png"
expect_plan "$plan" "$keyword" 2 1,4
copy_row 7

# Three pages: site 1's third hangs; the stop ends the search at once.
set_pages 3
: >"$E2E_WORK/requests"
click_start
stalled="1 $("$plan" "$DEMO_PORT" "$keyword" 3 1 | awk '$1 == "request" && $2 == 1 { p = $3 } END { print p }')"
for _ in $(seq 1 300); do grep -qxF "$stalled" "$E2E_WORK/requests" && break; sleep 0.1; done
grep -qxF "$stalled" "$E2E_WORK/requests" || fail "the stalled page was never asked"
sleep 0.5
click_stop
STATUS=$(status_text)
grep -qE '^搜索结束！本次耗时[0-9]+秒' <<<"$STATUS" || fail "not idle right after the stop: $STATUS"
echo "stopped during the hanging page: $(head -n 1 <<<"$STATUS")"

click_close
wait_exit "$SEEKER_PID"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "closed: exit 0; screenshots: $out/seeker-windows-idle.png $out/seeker-windows-finished.png"

#!/usr/bin/env bash
# A Chinese keyword typed in, three pages of sites 1 and 4: the requests in
# their order, the finish count, the seventh row's link shown and copied, a
# copy while another program holds the clipboard; screenshots of the idle
# window and of the finished search.
#   e2e_search.sh SEEKER DEMO_SITES SEARCH_PLAN OUTPUT_FOLDER
set -euo pipefail
seeker=$1 demo=$2 plan=$3 out=$4
mkdir -p "$out"
source "$(dirname "$0")/lib.sh"
e2e_init
start_xvfb
start_demo "$demo"
start_seeker "$seeker"

[ "$(xdotool getwindowname "$WIN")" = "青柠搜索器1.1  by墨川" ] || fail "native title: $(xdotool getwindowname "$WIN")"
# The icon is set once the window exists, so a slow build may show it a little later.
# (The property is read whole: grep -q leaving early would end xprop with
# SIGPIPE, which pipefail counts as a failure.)
has_small_icon() { [[ $(xprop -id "$WIN" _NET_WM_ICON) == *'Icon (16 x 16)'* ]]; }
for _ in $(seq 1 50); do
  has_small_icon && break
  sleep 0.1
done
has_small_icon || fail "no 16 x 16 picture in _NET_WM_ICON"
shoot "$out/seeker-idle.png"
[ "$(status_text)" = "搜索成功后,鼠标左键单击内容即可获取下载地址......点击右边复制按钮即可复制下载地址......" ] ||
  fail "first status text: $(status_text)"

keyword=盗梦空间
search_sites_1_and_4 "$keyword" 3
shoot "$out/seeker-finished.png"

expect_plan "$plan" "$keyword" 3 1,4
# The row numbered 7: its title and link in the status box, its link copied.
copy_row 7

# Another program takes the clipboard; a copy still reaches it.
echo "held by another program" | xclip -i -selection clipboard
wait_clipboard "held by another program" || fail "xclip did not take the clipboard"
IFS=$'\t' read -r _ title3 link3 < <(grep '^hit 3	' "$E2E_WORK/plan")
click_row 3
click_copy
wait_clipboard "$link3" || fail "copy after another owner: $CLIPBOARD_TEXT"
echo "copy after another clipboard owner: $link3"

click_close
wait_exit "$SEEKER_PID"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
echo "screenshots: $out/seeker-idle.png $out/seeker-finished.png"

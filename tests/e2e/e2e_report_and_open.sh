#!/usr/bin/env bash
# The real program under Xvfb: the sites file's problems are in the status
# box at start; after a search where site 2 refuses connections, resting the
# pointer on its box shows a tooltip (screenshot kept); a double click on a
# row hands the row's link to the program registered for magnet links,
# which records it.
#   e2e_report_and_open.sh SEEKER DEMO_SITES SEARCH_PLAN OUTPUT_FOLDER
set -euo pipefail
seeker=$1 demo=$2 plan=$3 out=$4
mkdir -p "$out"
source "$(dirname "$0")/lib.sh"
e2e_init

# A desktop of the test's own with one handler for magnet links.
export XDG_DATA_HOME=$E2E_WORK/data XDG_DATA_DIRS=$E2E_WORK/none XDG_CONFIG_DIRS=$E2E_WORK/none
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID BROWSER
mkdir -p "$XDG_DATA_HOME/applications" "$E2E_WORK/none"
# It takes its time, as a torrent client starting up does.
cat >"$E2E_WORK/record.sh" <<SH
#!/bin/sh
sleep 3
printf '%s' "\$1" >"$E2E_WORK/received.part" && mv "$E2E_WORK/received.part" "$E2E_WORK/received"
SH
chmod +x "$E2E_WORK/record.sh"
printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%u\nMimeType=x-scheme-handler/magnet;\nNoDisplay=true\n' \
  "$E2E_WORK/record.sh" >"$XDG_DATA_HOME/applications/seeker-test-recorder.desktop"

start_xvfb
start_demo "$demo" --last-page 1
printf '[Default Applications]\nx-scheme-handler/magnet=seeker-test-recorder.desktop\n' \
  >"$XDG_CONFIG_HOME/mimeapps.list"
closed=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
sites_file=$XDG_CONFIG_HOME/seeker/sites.conf
sed -i "s|^site2 = .*|site2 = http://127.0.0.1:$closed|" "$sites_file"
echo "site9 = http://x.example" >>"$sites_file"
start_seeker "$seeker"
# Started from a menu nobody reads standard error: the sites file's
# problems are in the status box.
problem=$(grep -F "$sites_file:$(wc -l <"$sites_file"): unknown key \"site9\"" "$E2E_WORK/seeker.err") ||
  fail "the bad line is not on standard error"
[ "$(status_text)" = "站点配置文件有问题："$'\n'"${problem#seeker: }" ] || fail "status box at start: $(status_text)"
echo "the sites file's problem is in the status box at start"
set_pages 1
click_start
wait_status '^搜索完毕！本次耗时[0-9]+秒'

# Entering the box registers its tip; the next move inside starts the delay.
point_at 715 53  # site 2's box
sleep 0.3
point_at 718 55
# The tip is a window of its own near the pointer; under Xvfb it is not
# always above the main window, so the picture puts it there.
tip=""
for _ in $(seq 1 100); do
  tip=$(xwininfo -root -children | awk '/\("seeker" "Seeker"\)/ && !/"青柠搜索器/ { print $1; exit }')
  [ -n "$tip" ] && xwininfo -id "$tip" | grep -q 'Map State: IsViewable' && break
  sleep 0.1
done
[ -n "$tip" ] || fail "no tooltip window over site 2's box"
xwininfo -id "$tip" | grep -q 'Map State: IsViewable' || fail "the tooltip window is not shown"
read -r tx ty tw th < <(xwininfo -id "$tip" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
  /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }')
[ "$tw" -gt 100 ] && [ "$th" -gt 10 ] && [ "$ty" -gt $((WY + 55)) ] || fail "tooltip at ${tw}x$th+$tx+$ty"
xwd -id "$tip" -silent | convert xwd:- "$E2E_WORK/tip.png"
shoot "$E2E_WORK/window.png"
convert "$E2E_WORK/window.png" "$E2E_WORK/tip.png" -geometry "+$((tx - WX))+$((ty - WY))" -composite \
  "$out/site-tooltip.png"
echo "tooltip over site 2's box (${tw}x$th): $out/site-tooltip.png"

"$plan" "$DEMO_PORT" 我唾弃你的坟墓 1 1,3,4,5,6,7,8 1 >"$E2E_WORK/plan"
IFS=$'\t' read -r _ title link < <(grep '^hit 2	' "$E2E_WORK/plan")
row_y 2
xdotool mousemove $((WX + 300)) $((WY + ROW_Y)) click --repeat 2 --delay 80 1
# The window does not wait for the handler: the row's line stays, and the
# outcome comes on the second line when the hand-over has one.
line="【$title】 下载地址：  $link"
[ "$(status_text)" = "$line" ] || fail "status while the link is handed over: $(status_text)"
for _ in $(seq 1 40); do text=$(status_text); [ "$text" != "$line" ] && break; sleep 0.3; done
[ "$text" = "$line"$'\n'"【$title】的下载地址已交给 magnet 链接的默认程序......" ] || fail "status after the double click: $text"
for _ in $(seq 1 300); do [ -f "$E2E_WORK/received" ] && break; sleep 0.1; done
[ -f "$E2E_WORK/received" ] || fail "the handler received nothing; status: $(status_text)"
expected=$(python3 -c 'import sys, urllib.parse; print(urllib.parse.quote(sys.argv[1], safe="".join(map(chr, range(33, 127)))))' "$link")
[ "$(cat "$E2E_WORK/received")" = "$expected" ] || fail "handler got $(cat "$E2E_WORK/received"), row 2's link is $link"
echo "double click handed row 2's link to the magnet handler; the status box kept its line"

click_close
wait_exit "$SEEKER_PID"

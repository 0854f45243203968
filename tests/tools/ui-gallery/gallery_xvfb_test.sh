#!/usr/bin/env bash
# Runs ui-gallery under its own Xvfb, clicks a check box and a button with
# xdotool, checks that each took effect (the gallery's report and the pixels
# of the check box), and keeps screenshots in the output folder.
#   gallery_xvfb_test.sh <ui-gallery executable> <output folder>
set -euo pipefail

gallery=$1
out=$2
mkdir -p "$out"
# The work folder, its clean-up and the Xvfb come from the end-to-end helpers.
source "$(dirname "$0")/../../e2e/lib.sh"
e2e_init
work=$E2E_WORK

fail() { echo "FAIL: $*" >&2; [ -f "$work/log" ] && sed 's/^/  gallery: /' "$work/log" >&2; exit 1; }

# Waits up to $2 tenths of a second for a line matching $1 in the gallery's report.
wait_for() {
  for _ in $(seq 1 "$2"); do
    grep -qE "$1" "$work/log" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no report matching '$1'"
}

# start_gallery READY TITLE: runs the gallery, waits for its READY report and
# sets gallery_pid and found to its process and its window titled TITLE.
start_gallery() {
  in_background "$work/log" "$work/stderr" "$gallery"
  gallery_pid=$BG_PID
  wait_for "$1" 600
  found=$(xdotool search --sync --name "^$2\$" | head -n 1)
  [ -n "$found" ] || fail "no $2 window"
}

start_xvfb

start_gallery '^ready$' ui-gallery
window=$found
eval "$(xdotool getwindowgeometry --shell "$window")"  # X, Y, WIDTH, HEIGHT
[ "$WIDTH" = 975 ] && [ "$HEIGHT" = 547 ] || fail "window is ${WIDTH}x${HEIGHT}"

# "at <name> x y w h" lines give the controls' client rectangles.
place() { awk -v n="$1" '$1 == "at" && $2 == n { print $3, $4, $5, $6 }' "$work/log"; }
read -r bx by bw bh <<<"$(place unticked)"
read -r cx cy cw ch <<<"$(place clickme)"

shoot() { xwd -root -silent | convert xwd:- "$1"; }
# Sum of the red, green and blue of a screen pixel.
pixel_sum() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR == 2 { gsub(/[()]/, "", $2); split($2, c, ","); print c[1] + c[2] + c[3] }'
}

# The tick of the unticked box lies at (13, 13) of the control.
tick_x=$((X + bx + 13))
tick_y=$((Y + by + 13))
sleep 0.5  # let the entry animation settle
shoot "$out/gallery-before.png"
before=$(pixel_sum "$out/gallery-before.png" "$tick_x" "$tick_y")

xdotool mousemove $((X + bx + 10)) $((Y + by + bh / 2)) click 1
wait_for '^check unticked 1$' 50
xdotool mousemove $((X + cx + cw / 2)) $((Y + cy + ch / 2)) click 1
wait_for '^click clickme 1$' 50
xdotool mousemove $((X + 700)) $((Y + 480))
# Unticked the glyph is a light box; ticked its centre is a dark green mark.
# Hover fades run at 60 ms a frame, so a loaded machine may need a moment.
after=$before
for _ in $(seq 1 20); do
  sleep 0.25
  shoot "$out/gallery.png"
  after=$(pixel_sum "$out/gallery.png" "$tick_x" "$tick_y")
  [ $((before - after)) -gt 100 ] && break
done
echo "tick pixel before $before after $after"
[ $((before - after)) -gt 100 ] || fail "the check box did not change (before $before, after $after)"
kill -0 "$gallery_pid" 2>/dev/null || fail "ui-gallery exited"
echo "screenshot: $out/gallery.png"

source "$(dirname "$0")/edit_steps.sh"

# The close button of the caption ends the program normally.
xdotool mousemove $((X + 930 + 19)) $((Y + 7 + 9)) click 1
for _ in $(seq 1 100); do
  kill -0 "$gallery_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$gallery_pid" 2>/dev/null && fail "the close button did not end ui-gallery"
status=0
wait "$gallery_pid" || status=$?
[ "$status" -eq 0 ] || { sed 's/^/  stderr: /' "$work/stderr" >&2; fail "ui-gallery ended with status $status"; }

# ---- The lists window: a click selects a row, the wheel scrolls three rows a
# notch, and a click at the same place then selects the row six further on.
start_gallery '^lists ready$' "ui-gallery lists"
lists=$found
lx=$(xwininfo -id "$lists" | awk '/Absolute upper-left X/ { print $4 }')
ly=$(xwininfo -id "$lists" | awk '/Absolute upper-left Y/ { print $4 }')
read -r rx ry rw rh <<<"$(place listrows)"
row_x=$((lx + rx + 120))
row_y=$((ly + ry + 2 * rh + rh / 2))  # the middle of the third row
sleep 0.5
xdotool mousemove "$row_x" "$row_y" click 1
wait_for '^list row 3$' 50
xdotool click 5
wait_for '^list top 4$' 50
xdotool click 5
wait_for '^list top 7$' 50
xdotool click 1
wait_for '^list row 9$' 50
shoot "$out/gallery-lists.png"
# The selected row is filled: its pixel differs from the unselected row below it.
selected=$(pixel_sum "$out/gallery-lists.png" $((lx + rx + 3)) "$row_y")
plain=$(pixel_sum "$out/gallery-lists.png" $((lx + rx + 3)) $((row_y + 2 * rh)))
echo "row pixel selected $selected, plain $plain"
[ "$selected" -ne "$plain" ] || fail "the clicked row does not look selected"
kill -0 "$gallery_pid" 2>/dev/null || fail "ui-gallery exited"
echo "screenshot: $out/gallery-lists.png"

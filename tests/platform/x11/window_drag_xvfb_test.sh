#!/usr/bin/env bash
# Quick clicks where no control takes the press never move or size the
# window; real drags still do. Runs ui-gallery under its own Xvfb, with
# openbox ("wm") or without a window manager ("plain").
#   window_drag_xvfb_test.sh <ui-gallery executable> wm|plain [rounds]
set -euo pipefail

gallery=$1
mode=$2
rounds=${3:-20}
# The work folder, its clean-up and the Xvfb come from the end-to-end helpers.
source "$(dirname "$0")/../../e2e/lib.sh"
e2e_init
work=$E2E_WORK

fail() { echo "FAIL ($mode): $*" >&2; exit 1; }

start_xvfb

if [ "$mode" = wm ]; then
  in_background /dev/null /dev/null openbox --sm-disable
  for _ in $(seq 1 300); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' || fail "openbox did not start"
fi

in_background "$work/log" "$work/stderr" program "$gallery"
for _ in $(seq 1 600); do grep -qE $'^ready\r?$' "$work/log" && break; sleep 0.1; done
grep -qE $'^ready\r?$' "$work/log" || fail "ui-gallery did not start"
window=$(xdotool search --sync --name '^ui-gallery$' | head -n 1)
[ -n "$window" ] || fail "no ui-gallery window"

# "x y width height" of the window on screen (xwininfo counts no frame twice).
geometry() {
  xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
    /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }'
}
# Waits up to 3 s for the geometry to become $1; prints the last one seen.
settle_at() {
  local g
  for _ in $(seq 1 30); do
    g=$(geometry)
    [ "$g" = "$1" ] && { echo "$g"; return 0; }
    sleep 0.1
  done
  echo "$g"
  return 1
}
# drag X Y DX DY: presses at (X, Y), moves by (DX, DY) five times and releases.
# The press is given time to reach the program and, with a window manager,
# the manager's move to start, so a slow build loses no step of the drag.
drag() {
  xdotool mousemove "$1" "$2" mousedown 1 sleep 0.4
  for step in 1 2 3 4 5; do
    xdotool sleep 0.05 mousemove $(($1 + $3 * step)) $(($2 + $4 * step))
  done
  xdotool sleep 0.1 mouseup 1
}
# expect_rest GEOMETRY WHAT LATER: the window settles at GEOMETRY after the
# drag named WHAT and stays there once the pointer moves on (else LATER fails).
expect_rest() {
  local got
  got=$(settle_at "$1") || fail "$2: window at '$got', expected '$1'"
  xdotool mousemove 50 50 sleep 0.05 mousemove 60 70
  sleep 0.3
  got=$(geometry)
  [ "$got" = "$1" ] || fail "$3: '$got'"
}

sleep 0.6  # the entry animation
start=$(geometry)
read -r X Y W H <<<"$start"
[ "$W" = 975 ] && [ "$H" = 547 ] || fail "window is ${W}x${H}"

# Client points: the background, the disabled button, the right resize edge.
spots=("700 480 background" "166 200 disabled-button" "$((W - 4)) 300 right-edge")
for round in $(seq 1 "$rounds"); do
  for spot in "${spots[@]}"; do
    read -r cx cy what <<<"$spot"
    xdotool mousemove $((X + cx)) $((Y + cy)) click 1
    xdotool mousemove $((X + cx + 120)) $((Y + cy + 90)) sleep 0.02 mousemove $((X + cx + 250)) $((Y + cy + 150))
    sleep 0.05
    now=$(geometry)
    [ "$now" = "$start" ] || { sleep 0.3; now=$(geometry); }
    [ "$now" = "$start" ] || fail "round $round: a click on the $what changed the window from '$start' to '$now'"
  done
done
echo "$rounds rounds of clicks left the window at $start"

# A drag on the background moves the window by the drag and stops at the release.
drag $((X + 700)) $((Y + 480)) 20 12
moved="$((X + 100)) $((Y + 60)) $W $H"
expect_rest "$moved" drag "the window followed the pointer after the drag"
echo "drag moved the window to $moved"

# A drag from the right edge widens the window.
read -r X Y W H <<<"$moved"
drag $((X + W - 4)) $((Y + 300)) 16 0
sized="$X $Y $((W + 80)) $H"
expect_rest "$sized" "edge drag" "the window kept sizing after the release"
echo "edge drag sized the window to $sized"

# A double click on the caption's background maximises, a second restores.
read -r X Y W H <<<"$sized"
xdotool mousemove $((X + 600)) $((Y + 20)) click --repeat 2 --delay 80 1
for _ in $(seq 1 30); do
  read -r X Y W H <<<"$(geometry)"
  [ "$W" -ge 1920 ] && [ "$H" -ge 1080 ] && break
  sleep 0.1
done
[ "$W" -ge 1920 ] && [ "$H" -ge 1080 ] || fail "double click: window at '$X $Y $W $H', not maximised"
xdotool mousemove $((X + 600)) $((Y + 20)) click --repeat 2 --delay 80 1
got=$(settle_at "$sized") || fail "second double click: window at '$got', expected '$sized'"
echo "double clicks maximised and restored the window"

# The gallery as the drags left it, kept in the build folder so that the
# drawing of the Linux and Windows builds can be compared.
if [ "$mode" = plain ]; then
  read -r X Y W H <<<"$sized"
  xwd -root -silent | convert xwd:- -crop "${W}x${H}+${X}+${Y}" +repage "$PWD/ui-gallery.png"
  echo "screenshot: $PWD/ui-gallery.png"
fi

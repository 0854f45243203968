#!/usr/bin/env bash
# The window's margin and rounded corners over a desktop of one colour.
# Without a compositing manager nothing blends: the window's shape leaves out
# its faint pixels, so the desktop shows there, never black. Under xcompmgr
# the window is not cut and its shadow darkens the desktop a little.
# Screenshots of both stay in OUTPUT_FOLDER.
#   e2e_compositor.sh SEEKER DEMO_SITES SEARCH_PLAN OUTPUT_FOLDER
set -euo pipefail
seeker=$1 demo=$2 out=$4
mkdir -p "$out"
source "$(dirname "$0")/lib.sh"
e2e_init

desk=3070c0
# Points just outside the frame's rounded corners and in the middle of each
# margin, window-relative; the window is 975 x 547.
outside=(6,6 5,5 3,3 968,6 969,5 6,540 5,541 968,540 969,541 2,273 487,2 972,273 487,544)

# The screen as shown. xwd would read a window of another visual on its
# own, without its shape; import composes the screen as the server does.
grab() { import -window root "$E2E_WORK/screen.png"; }
# pixel X Y: the grabbed screen's colour at window-relative (X, Y), rrggbb.
pixel() {
  convert "$E2E_WORK/screen.png" -crop "1x1+$((WX + $1))+$((WY + $2))" +repage -depth 8 txt:- |
    grep -oE '#[0-9A-F]{6}' | tr -d '#' | tr 'A-F' 'a-f'
}
# The window and its margin.
keep() { convert "$E2E_WORK/screen.png" -crop "995x567+$((WX - 10))+$((WY - 10))" +repage "$1"; }

# run_case NAME: the program on a fresh display, with xcompmgr for "composited".
run_case() {
  start_xvfb
  # A window whose background the server fills itself whenever it is exposed.
  in_background /dev/null /dev/null xmessage -bg "#$desk" -fg "#$desk" -bd "#$desk" \
    -geometry 1920x1080+0+0 " "
  if [ "$1" = composited ]; then
    in_background /dev/null /dev/null xcompmgr
    # xcompmgr names a window of its own just before it takes the selection.
    for _ in $(seq 1 100); do
      xwininfo -root -tree 2>/dev/null | grep -q '"xcompmgr"' && break
      sleep 0.1
    done
    xwininfo -root -tree | grep -q '"xcompmgr"' || fail "xcompmgr did not start"
  fi
  start_demo "$demo"
  start_seeker "$seeker"
  point_at 700 300
}

run_case plain
for _ in $(seq 1 50); do
  grab
  [ "$(pixel 3 3)" = "$desk" ] && break
  sleep 0.2
done
for p in "${outside[@]}"; do
  got=$(pixel "${p%,*}" "${p#*,}")
  [ "$got" = "$desk" ] || fail "without a compositor ($p) shows $got, not the desktop"
done
[ "$(pixel 20 200)" != "$desk" ] || fail "without a compositor the window is not shown"
keep "$out/seeker-no-compositor.png"
e2e_cleanup
e2e_init

run_case composited
xwininfo -id "$WIN" -shape | grep -q 'No window shape defined' ||
  fail "under a compositor the window is cut: $(xwininfo -id "$WIN" -shape | grep -i extents)"
# The shadow in the middle of the left margin darkens the desktop, a little.
for _ in $(seq 1 50); do
  grab
  got=$(pixel 5 273)
  [ "$got" != "$desk" ] && [ "$got" != 000000 ] && break
  sleep 0.2
done
blue=$((16#${got:4:2}))
[ "$blue" -gt 128 ] && [ "$blue" -lt 192 ] || fail "under a compositor the margin shows $got"
keep "$out/seeker-compositor.png"
echo "screenshots: $out/seeker-no-compositor.png $out/seeker-compositor.png"

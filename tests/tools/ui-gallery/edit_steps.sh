# Edit and menu steps of the gallery test, sourced by gallery_xvfb_test.sh
# while the gallery runs: Chinese typed into an edit and read back through
# the clipboard, a paste chosen from the edit's context menu, and a press
# outside an open menu closing it.

# Waits up to $3 tenths of a second for the $2-th report line matching $1.
wait_count() {
  for _ in $(seq 1 "$3"); do
    [ "$(grep -cE "$1" "$work/log" 2>/dev/null)" -ge "$2" ] && return 0
    sleep 0.1
  done
  fail "fewer than $2 reports matching '$1'"
}
# The place of the last "$1 at x y w h" report.
last_place() { awk -v k="$1" '$1 == k && $2 == "at" { r = $3 " " $4 " " $5 " " $6 } END { print r }' "$work/log"; }
# The clipboard as the gallery offers it, once it equals $1.
clipboard_is() {
  local got=""
  for _ in $(seq 1 30); do
    got=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ "$got" = "$1" ] && return 0
    sleep 0.1
  done
  fail "clipboard holds '$got', not '$1'"
}

read -r ex ey ew eh <<<"$(place edit)"
xdotool mousemove $((X + ex + ew - 4)) $((Y + ey + eh / 2)) click 1
sleep 0.2
xdotool key ctrl+a BackSpace
type_text '中文输入测试'
sleep 0.3
xdotool key ctrl+a ctrl+c
clipboard_is '中文输入测试'
echo "typed Chinese read back through the clipboard"

# Paste from the context menu at the end of the text.
printf '粘贴' | xclip -selection clipboard -i
sleep 0.2
xdotool key End
xdotool mousemove $((X + ex + ew / 2)) $((Y + ey + eh / 2)) click 3
wait_count '^menu at ' 1 50
read -r mx my _ _ <<<"$(last_place menu)"
sleep 0.3
# Rows start 8 pixels down, 22 high: cut, copy, paste.
xdotool mousemove $((mx + 40)) $((my + 8 + 2 * 22 + 11)) click 1
sleep 0.3
xdotool mousemove $((X + ex + ew - 4)) $((Y + ey + eh / 2)) click 1
xdotool key ctrl+a ctrl+c
clipboard_is '中文输入测试粘贴'
echo "context-menu paste arrived"
shoot "$out/gallery-edit.png"

# A press outside an open menu closes it without a command.
read -r kx ky kw kh <<<"$(place menubutton)"
xdotool mousemove $((X + kx + kw / 2)) $((Y + ky + kh / 2)) click 1
wait_count '^menu at ' 2 50
sleep 0.3
shoot "$out/gallery-menu.png"
xdotool mousemove 20 20 click 1
wait_count '^menu closed$' 1 50
grep -q '^menu command' "$work/log" && fail "a press outside the menu chose a command"
kill -0 "$gallery_pid" 2>/dev/null || fail "ui-gallery exited"
echo "a press outside the menu closed it"

# Two levels down: resting on a submenu row opens it; the deepest command
# closes every level and arrives once.
xdotool mousemove $((X + kx + kw / 2)) $((Y + ky + kh / 2)) click 1
wait_count '^menu at ' 3 50
read -r mx my _ _ <<<"$(last_place menu)"
sleep 0.3
xdotool mousemove $((mx + 40)) $((my + 8 + 22 + 11))
wait_count '^submenu at ' 1 30
read -r sx sy _ _ <<<"$(last_place submenu)"
sleep 0.4
xdotool mousemove $((sx + 40)) $((sy + 8 + 22 + 11))
wait_count '^submenu at ' 2 30
read -r sx sy _ _ <<<"$(last_place submenu)"
sleep 0.4
shoot "$out/gallery-cascade.png"
xdotool mousemove $((sx + 40)) $((sy + 8 + 11)) click 1
wait_count '^menu closed$' 2 50
[ "$(grep -c '^menu command 301$' "$work/log")" -eq 1 ] || fail "the deepest command did not arrive exactly once"
grep -q '^menu command' <(grep -v '^menu command 301$' "$work/log") && fail "another command arrived"
echo "a command two levels down closed the cascade"

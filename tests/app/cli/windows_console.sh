#!/usr/bin/env bash
# seeker.exe started by cmd.exe on a console set to code page 936, as on a
# Chinese Windows: the site names of --help and the hits of a search show as
# the characters the Linux program prints. The console is wine's, drawn on a
# pseudo terminal; what it shows is read back from the terminal's output.
#   windows_console.sh WINE_RUN PREFIX SEEKER_EXE LINUX_SEEKER DEMO_SITES
set -euo pipefail
wine_run=$1 prefix=$2 exe=$3 linux=$4 demo=$5
source "$(dirname "$0")/../../e2e/lib.sh"
e2e_init
[ -x "$linux" ] && [ -x "$demo" ] || fail "the Linux build's seeker and demo-sites are needed: $linux $demo"

# The lines wine's console shows: its cursor and erase sequences undone
# (a run of blanks is drawn as an erase and a cursor move), and of a line
# redrawn in place only what stands last.
visible_lines='
import re, sys
text = sys.stdin.buffer.read().decode("utf-8", "replace")
text = re.sub(r"\x1b\[K\x1b\[(\d+)C", lambda m: " " * int(m.group(1)), text)
text = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", text)
for line in text.split("\n"):
    line = line.rstrip("\r")
    print(line[line.rfind("\r") + 1:].rstrip(" "))
'
# on_console CMD_LINE: runs CMD_LINE in cmd.exe on a console 2000 columns wide.
on_console() {
  script -qfec "stty cols 2000; $(printf '%q ' "$wine_run" "$prefix" cmd /c "chcp 936 >NUL & $1")" \
    /dev/null </dev/null | python3 -c "$visible_lines"
}
windows_exe="Z:${exe//\//\\}"

sites() { awk '/^Sites:/ { on = 1; next } on && NF == 2 { print }'; }
diff <("$linux" --help | sites) <(on_console "$windows_exe --help" | sites) >&2 ||
  fail "--help on the console shows other site names"
echo "--help: the site names show on a code-page-936 console"

start_demo "$demo" --last-page 1
"$linux" --search 电影 --pages 1 --format json >"$E2E_WORK/linux.json" 2>/dev/null ||
  fail "Linux search: exit $?"
[ -s "$E2E_WORK/linux.json" ] || fail "no hits from the Linux program"
# Standard error goes elsewhere, so that no progress line is drawn.
on_console "$windows_exe --config Z:${SEEKER_CONFIG//\//\\} --search 电影 --pages 1 --format json 2>NUL" \
  >"$E2E_WORK/console.txt"
missing=$(grep -Fxvc -f "$E2E_WORK/console.txt" "$E2E_WORK/linux.json" || true)
[ "$missing" = 0 ] || fail "$missing of $(wc -l <"$E2E_WORK/linux.json") hits do not show on the console: $(
  grep -Fxv -f "$E2E_WORK/console.txt" "$E2E_WORK/linux.json" | head -2)"
echo "search: all $(wc -l <"$E2E_WORK/linux.json") hits show on the console as the Linux program prints them"

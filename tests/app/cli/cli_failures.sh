#!/usr/bin/env bash
# What seeker --search says when things go wrong, against the demo sites:
# sites that fail, sites files it cannot or will not read, a keyword code
# page 936 cannot hold, output that blocks, fails or goes away, and a
# terminal that gets many pages a second.
#   cli_failures.sh SEEKER DEMO_SITES
set -euo pipefail
seeker=$1 demo=$2
source "$(dirname "$0")/../../e2e/lib.sh"
e2e_init
start_demo "$demo" --last-page 30
conf=$XDG_CONFIG_HOME/seeker/sites.conf
now_ms() { echo $(($(date +%s%N) / 1000000)); }
# run ARGS...: the program with its output in out and err; its code in CODE.
run() {
  set +e
  "$seeker" "$@" >"$E2E_WORK/out" 2>"$E2E_WORK/err"
  CODE=$?
  set -e
}

# Site 2 refuses connections: the site and why go to standard error, as in
# the window's site boxes; with no other site the status tells it.
closed=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
down=$E2E_WORK/down.conf
sed "s|^site2 = .*|site2 = http://127.0.0.1:$closed|" "$conf" >"$down"
run --config "$down" --search abc --pages 2 --sites 1,2
[ "$CODE" = 0 ] && [ -s "$E2E_WORK/out" ] || fail "one site down: exit $CODE"
grep -qxF "seeker: site 2 31bt搜索: 第1页失败：连接被拒绝" "$E2E_WORK/err" || fail "site 2 not reported: $(cat "$E2E_WORK/err")"
[ "$(grep -c '^seeker: site' "$E2E_WORK/err")" = 1 ] || fail "a site that did not fail was reported"
run --config "$down" --search abc --sites 2
[ "$CODE" = 3 ] || fail "every site down: exit $CODE"
grep -qxF "seeker: site 2 31bt搜索: 第1页失败：连接被拒绝" "$E2E_WORK/err" || fail "site 2 not reported when alone"
echo "failed sites named on standard error; exit 3 when all failed"

# --help lists the sites by number.
"$seeker" --help >"$E2E_WORK/help"
n=0
for label in 传播搜索 31bt搜索 洪流小猫 手撕包菜 电驴视频 樱花搜索 磁力搜索 book搜索; do
  n=$((n + 1))
  grep -qxF "  $n  $label" "$E2E_WORK/help" || fail "--help lacks site $n $label"
done

# A keyword with a character code page 936 cannot hold and a byte that is
# not UTF-8: each said once, and the search still runs.
run --search $'ก\xff中' --pages 1 --sites 1
[ "$CODE" = 0 ] && [ -s "$E2E_WORK/out" ] || fail "odd keyword: exit $CODE"
[ "$(grep -c 'is not valid UTF-8' "$E2E_WORK/err")" = 1 ] || fail "invalid UTF-8 not said once: $(cat "$E2E_WORK/err")"
[ "$(grep -cF 'code page 936 has no form for "ก" in the keyword' "$E2E_WORK/err")" = 1 ] ||
  fail "unheld character not said once: $(cat "$E2E_WORK/err")"
echo "keyword problems said once each"

# Sites files: one that cannot be read is an error; a FIFO or a device is
# not read at all; a file of junk is reported escaped, five problems in full
# and then a count.
mkfifo "$E2E_WORK/fifo"
for file in "$E2E_WORK/missing" "$E2E_WORK/fifo" /dev/zero "$E2E_WORK"; do
  set +e
  timeout 5 "$seeker" --config "$file" --search abc >"$E2E_WORK/out" 2>"$E2E_WORK/err"
  CODE=$?
  set -e
  [ "$CODE" = 2 ] && [ ! -s "$E2E_WORK/out" ] && [ "$(wc -l <"$E2E_WORK/err")" = 1 ] &&
    grep -q "^seeker: cannot read $file: " "$E2E_WORK/err" || fail "--config $file: exit $CODE, $(cat "$E2E_WORK/err")"
done
junk=$E2E_WORK/junk.conf
cp "$conf" "$junk"
{ printf 'site3 = http://\e]0;owned\a.example\n'; head -c 3000 /dev/urandom; for _ in $(seq 30); do echo junk; done; } >>"$junk"
run --config "$junk" --search abc --pages 1 --sites 1
[ "$CODE" = 0 ] || fail "junk file: exit $CODE"
LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' "$E2E_WORK/err" && fail "control characters of the file reached the terminal"
grep -qF 'site3 "http://\x1B]0;owned\x07.example" is not' "$E2E_WORK/err" || fail "value not escaped: $(head -n 2 "$E2E_WORK/err")"
[ "$(grep -c "^seeker: $junk:[0-9]*: " "$E2E_WORK/err")" = 5 ] &&
  grep -qE "^seeker: $junk: [0-9]+ more problems not shown$" "$E2E_WORK/err" || fail "problems not capped: $(cat "$E2E_WORK/err")"
echo "sites files: unreadable ones refused, FIFO and device not read, junk escaped and capped"

# A terminal is redrawn at most about ten times a second however fast the
# hits come.
start=$(now_ms)
script -qec "'$seeker' --search abc --pages 30 >/dev/null" /dev/null >"$E2E_WORK/tty" ||
  fail "search on a terminal: exit $?; its terminal showed: $(tail -c 4000 "$E2E_WORK/tty")"
elapsed=$(($(now_ms) - start))
redraws=$(grep -o $'\r\\[' "$E2E_WORK/tty" | wc -l)
[ "$redraws" -ge 1 ] && [ "$redraws" -le $((elapsed / 100 + 2)) ] || fail "$redraws redraws in $elapsed ms"
echo "progress: $redraws redraws in $elapsed ms"

# Output that fails names the error; a reader that goes away ends the
# search quietly.
run --search abc --pages 2 --sites 1
cp "$E2E_WORK/out" "$E2E_WORK/hits"
set +e
"$seeker" --search abc --pages 2 --sites 1 >/dev/full 2>"$E2E_WORK/err"
CODE=$?
set -e
[ "$CODE" = 1 ] && grep -qxF "seeker: cannot write the hits to standard output: No space left on device" "$E2E_WORK/err" ||
  fail "/dev/full: exit $CODE, $(cat "$E2E_WORK/err")"
set +e
"$seeker" --search abc --pages 30 2>"$E2E_WORK/err" | head -n 1 >"$E2E_WORK/out"
CODE=${PIPESTATUS[0]}
set -e
[ "$CODE" != 0 ] && ! grep -q "cannot write" "$E2E_WORK/err" || fail "closed pipe: exit $CODE, $(cat "$E2E_WORK/err")"
[ "$(cat "$E2E_WORK/out")" = "$(head -n 1 "$E2E_WORK/hits")" ] || fail "closed pipe: first hit"
echo "write error named (exit 1); closed pipe quiet (exit $CODE)"

# Ctrl+C while standard output is full and nobody reads it: the process
# ends with 130 (half a second later, at once on a second Ctrl+C; the bound
# here leaves room for a loaded machine), where it used to wait for a reader.
mkfifo "$E2E_WORK/pipe"
exec 7<>"$E2E_WORK/pipe"  # a reader that never reads
for presses in 1 2; do
  asked=$(wc -l <"$E2E_WORK/requests")
  in_background "$E2E_WORK/pipe" "$E2E_WORK/err" "$seeker" --search abc --pages 30
  pid=$BG_PID
  for _ in $(seq 1 100); do
    # Blocked once its requests have begun and then stop growing the log.
    before=$(wc -l <"$E2E_WORK/requests"); sleep 0.2
    [ "$before" -gt "$asked" ] && [ "$(wc -l <"$E2E_WORK/requests")" = "$before" ] && break
  done
  kill -0 "$pid" 2>/dev/null || fail "the search ended without blocking"
  start=$(now_ms)
  kill -INT "$pid"
  [ "$presses" = 2 ] && kill -INT "$pid"
  wait_exit "$pid" 20
  elapsed=$(($(now_ms) - start))
  [ "$EXIT_CODE" = 130 ] && [ "$elapsed" -lt 5000 ] || fail "Ctrl+C x$presses on a blocked pipe: exit $EXIT_CODE after $elapsed ms"
  grep -qE '^search stopped: [0-9]+ seconds, [0-9]+ hits$' "$E2E_WORK/err" || fail "no closing line: $(cat "$E2E_WORK/err")"
  echo "Ctrl+C x$presses with standard output blocked: exit 130 after $elapsed ms"
done
exec 7>&-

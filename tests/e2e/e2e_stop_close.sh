#!/usr/bin/env bash
# A stop while a request hangs returns the window to idle at once and no row
# appears afterwards; closing the window ends the program with code 0, also
# in the middle of a search; without a display the program says so and fails.
#   e2e_stop_close.sh SEEKER DEMO_SITES SEARCH_PLAN OUTPUT_FOLDER
set -euo pipefail
seeker=$1 demo=$2 plan=$3 out=$4
mkdir -p "$out"
source "$(dirname "$0")/lib.sh"
e2e_init

set +e
# A sanitizer build must not add its own summary to the one line checked below.
env -u DISPLAY LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0" \
  "$seeker" 2>"$E2E_WORK/nodisplay.err" >/dev/null
code=$?
set -e
[ "$code" != 0 ] || fail "no display: exit code 0"
[ "$(wc -l <"$E2E_WORK/nodisplay.err")" = 1 ] && grep -q DISPLAY "$E2E_WORK/nodisplay.err" ||
  fail "no display: $(cat "$E2E_WORK/nodisplay.err")"
echo "no display: exit $code, $(cat "$E2E_WORK/nodisplay.err")"

start_xvfb
start_demo "$demo" --stall 1:2
start_seeker "$seeker"
keyword=盗梦空间
set_keyword "$keyword"
set_pages 3
click_start
stalled="1 $("$plan" "$DEMO_PORT" "$keyword" 2 1 | awk '$1 == "request" && $2 == 1 { p = $3 } END { print p }')"
for _ in $(seq 1 300); do grep -qxF "$stalled" "$E2E_WORK/requests" && break; sleep 0.1; done
grep -qxF "$stalled" "$E2E_WORK/requests" || fail "the stalled page was never asked"
# Page 1's hits were handed to the window before the stalled request went
# out; the window takes posted work before input, so once it has answered a
# click they are all shown.
status_text >/dev/null
click_stop
STATUS=$(status_text)
grep -qE '^搜索结束！本次耗时[0-9]+秒' <<<"$STATUS" || fail "not idle right after the stop: $STATUS"
hits=$("$plan" "$DEMO_PORT" "$keyword" 1 1,2,3,4,5,6,7,8 | grep -c '^hit')
[ "$(status_count)" = "$hits" ] || fail "stop reports $(status_count), page 1 has $hits"
point_at 700 20
shoot "$out/seeker-stopped.png"
sleep 1.5
shoot "$E2E_WORK/later.png"
changed=$(compare -metric AE -crop 963x408+4+90 "$out/seeker-stopped.png" "$E2E_WORK/later.png" null: 2>&1 || true)
[ "$changed" = 0 ] || fail "the list changed after the stop ($changed pixels)"
echo "stopped at once with $hits rows; no row afterwards"

# Closing in the middle of a search: the request for page 2 of site 1 hangs.
click_start
for _ in $(seq 1 100); do [ "$(grep -cxF "$stalled" "$E2E_WORK/requests")" = 2 ] && break; sleep 0.1; done
click_close
wait_exit "$SEEKER_PID"
[ "$EXIT_CODE" = 0 ] || fail "closing during a search: exit code $EXIT_CODE"
echo "closed during a search: exit 0"

#!/usr/bin/env bash
# A page count of 1500 shows 1000 once the search starts; a search that
# finds nothing reports 0.
#   e2e_limits.sh SEEKER DEMO_SITES SEARCH_PLAN OUTPUT_FOLDER
set -euo pipefail
seeker=$1 demo=$2
source "$(dirname "$0")/lib.sh"
e2e_init
start_xvfb

# Page 2 of site 1 never comes, so the search is still running when stopped.
start_demo "$demo" --stall 1:2
start_seeker "$seeker"
set_pages 1500
for site in 2 3 4 5 6 7 8; do click_site "$site"; done
click_start
[ "$(pages_text)" = 1000 ] || fail "page count shows $(pages_text)"
click_stop
wait_status '^搜索结束！'
echo "page count 1500 became 1000"
click_close
wait_exit "$SEEKER_PID"
[ "$EXIT_CODE" = 0 ] || fail "exit code $EXIT_CODE"
kill "$DEMO_PID"

start_demo "$demo" --last-page 0
start_seeker "$seeker"
click_start
wait_status '^搜索完毕！'
[ "$(status_count)" = 0 ] || fail "nothing found reports $(status_count)"
grep -q '^8 ' "$E2E_WORK/requests" || fail "site 8 was not asked"
echo "nothing found: 0 reported"

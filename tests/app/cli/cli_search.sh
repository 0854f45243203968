#!/usr/bin/env bash
# seeker --search against the demo sites: the search plan's requests and
# hits in both output formats, the progress bar only on a terminal, a clean
# stop on Ctrl+C, the command line's errors, --help and --version.
#   cli_search.sh SEEKER DEMO_SITES SEARCH_PLAN VERSION
set -euo pipefail
seeker=$1 demo=$2 plan=$3 version=$4
source "$(dirname "$0")/../../e2e/lib.sh"
e2e_init

# start_demo writes the sites file where the program looks by default; a
# copy with a bad line is given with --config.
start_demo "$demo" --last-page 2
conf=$E2E_WORK/sites.conf
cp "$XDG_CONFIG_HOME/seeker/sites.conf" "$conf"
echo "site9 = http://nowhere.example" >>"$conf"
bad_line=$(wc -l <"$conf")

keyword=盗梦空间
"$seeker" --config "$conf" --search "$keyword" --pages 3 --sites 4,1 >"$E2E_WORK/out" 2>"$E2E_WORK/err" ||
  fail "tsv search: exit $?"
"$plan" "$DEMO_PORT" "$keyword" 3 1,4 2 >"$E2E_WORK/plan"
diff <(grep '^request' "$E2E_WORK/plan" | cut -d' ' -f2-) "$E2E_WORK/requests" >&2 || fail "requests differ from the plan"
diff <(grep '^hit' "$E2E_WORK/plan" | cut -c5-) <(cut -f1,2,6 "$E2E_WORK/out") >&2 || fail "hits differ from the plan"
[ "$(cut -f5 "$E2E_WORK/out" | sort -u | tr '\n' ' ')" = "传播搜索 手撕包菜 " ] || fail "site labels"
hits=$(wc -l <"$E2E_WORK/out")
grep -qF "$conf:$bad_line: unknown key \"site9\"" "$E2E_WORK/err" || fail "bad line not named: $(cat "$E2E_WORK/err")"
tail -n 1 "$E2E_WORK/err" | grep -qxE "search finished: [0-9]+ seconds, $hits hits" || fail "closing line: $(cat "$E2E_WORK/err")"
! grep -q $'\r' "$E2E_WORK/err" || fail "a progress bar went into a pipe"
echo "tsv: $hits hits of the plan, requests in its order"

"$seeker" --config "$conf" --search "$keyword" --pages 3 --sites 4,1 --parallel >"$E2E_WORK/parallel" 2>/dev/null ||
  fail "parallel search: exit $?"
cmp -s "$E2E_WORK/out" "$E2E_WORK/parallel" || fail "--parallel printed other hits or another order"
echo "--parallel: the same hits in the same order"

"$seeker" --config="$conf" --search=abc --pages=2 --sites=7,2 --format=json >"$E2E_WORK/json" 2>/dev/null ||
  fail "json search: exit $?"
"$plan" "$DEMO_PORT" abc 2 2,7 2 >"$E2E_WORK/plan"
python3 - "$E2E_WORK/json" "$E2E_WORK/plan" <<'PY' || fail "json lines"
import json, sys
rows = [json.loads(line) for line in open(sys.argv[1], encoding="utf-8")]
plan = [l[4:].rstrip("\n").split("\t") for l in open(sys.argv[2], encoding="utf-8") if l.startswith("hit ")]
assert rows and [[str(r["number"]), r["title"], r["link"]] for r in rows] == plan, "not the plan's hits"
assert all(list(r) == ["number", "title", "size", "date", "site", "site_id", "link"] for r in rows)
assert {r["site_id"] for r in rows} == {2, 7}
PY
echo "json: $(wc -l <"$E2E_WORK/json") objects of the plan"

script -qec "'$seeker' --config '$conf' --search abc --pages 2 --sites 3 >/dev/null" /dev/null >"$E2E_WORK/tty" ||
  fail "search on a terminal: exit $?"
grep -qE $'\r\\[#*\\.*\\] [0-9]+%  [0-9]+ hits' "$E2E_WORK/tty" || fail "no progress bar on a terminal"
grep -qE $'\e\\[Ksearch finished: [0-9]+ seconds, [1-9][0-9]* hits' "$E2E_WORK/tty" || fail "bar not wiped before the closing line"
echo "progress bar on a terminal"

# Ctrl+C while site 4's second page hangs: every hit before it is out. The
# sites come from the default file this time.
start_demo "$demo" --last-page 5 --stall 4:2
in_background "$E2E_WORK/out" "$E2E_WORK/err" "$seeker" --search abc --pages 3 --sites 1,4
pid=$BG_PID
for _ in $(seq 1 100); do grep -qxF "4 /list/%61%62%63/2" "$E2E_WORK/requests" && break; sleep 0.1; done
grep -qxF "4 /list/%61%62%63/2" "$E2E_WORK/requests" || fail "the stalled page was never asked"
kill -INT "$pid"
wait_exit "$pid"
[ "$EXIT_CODE" = 130 ] || fail "Ctrl+C: exit $EXIT_CODE"
count=$(wc -l <"$E2E_WORK/out")
"$plan" "$DEMO_PORT" abc 3 1,4 5 >"$E2E_WORK/plan"
[ "$count" -gt 0 ] && diff <(grep '^hit' "$E2E_WORK/plan" | head -n "$count" | cut -c5-) <(cut -f1,2,6 "$E2E_WORK/out") >&2 ||
  fail "hits before the stop"
tail -n 1 "$E2E_WORK/err" | grep -qxE "search stopped: [0-9]+ seconds, $count hits" || fail "stop line: $(cat "$E2E_WORK/err")"
echo "Ctrl+C: exit 130 after $count hits"

for args in "--pages 3" "--search x --pages 0" "--search x --pages 1001" "--search x --sites 1,9" \
            "--search x --sites 1,,4" "--search x --format xml" "--search" "--bogus" "keyword" \
            "--parallel" "--search x --parallel=on"; do
  set +e
  # shellcheck disable=SC2086
  "$seeker" $args >"$E2E_WORK/out" 2>"$E2E_WORK/err"
  code=$?
  set -e
  [ "$code" = 2 ] && [ ! -s "$E2E_WORK/out" ] && [ "$(wc -l <"$E2E_WORK/err")" = 1 ] &&
    grep -qE '^seeker: .+ \(see seeker --help\)$' "$E2E_WORK/err" || fail "seeker $args: exit $code, $(cat "$E2E_WORK/err")"
done
help=$("$seeker" --help)
for option in --search --pages --sites --format --parallel --config --version; do
  grep -q -- "$option" <<<"$help" || fail "--help lacks $option"
done
[ "$("$seeker" --version)" = "seeker $version" ] || fail "--version: $("$seeker" --version)"
echo "usage errors exit 2; --help and --version"

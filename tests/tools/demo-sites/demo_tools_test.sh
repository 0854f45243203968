#!/usr/bin/env bash
# demo-sites and scrape-page together, as a maintainer uses them: start the
# demo sites, save one result page of every site, scrape each saved page.
# Usage: demo_tools_test.sh DEMO_SITES SCRAPE_PAGE
set -euo pipefail
demo_sites=$1
scrape_page=$2
work=$(mktemp -d)
server=
cleanup() {
  if [ -n "$server" ]; then kill -TERM "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

for attempt in $(seq 1 20); do
  base=$((20000 + RANDOM % 40000))
  "$demo_sites" "$base" >"$work/out" 2>&1 &
  server=$!
  for _ in $(seq 1 100); do
    grep -q '^site 8' "$work/out" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.05
  done
  if grep -q '^site 8' "$work/out"; then break; fi
  wait "$server" 2>/dev/null || true
  server=
done
[ -n "$server" ] || { echo "demo-sites did not start"; exit 1; }
grep -q "^portal  http://127.0.0.1:$base/" "$work/out"

paths=("" "/search/%61%62%63/currentPage/1" "/search/%61%62%63/1.html" "/search/%61%62%63/1"
       "/list/%61%62%63/1" "//search/%61%62%63?page=1&mode=auto" "/search?keyword=%61%62%63&p=1"
       "/search/%61%62%63-1.html" "/search/%61%62%63/1")
for site in 1 2 3 4 5 6 7 8; do
  url="http://127.0.0.1:$((base + site))${paths[$site]}"
  python3 -c 'import sys, urllib.request; sys.stdout.buffer.write(urllib.request.urlopen(sys.argv[1]).read())' \
    "$url" >"$work/page$site.html"
  "$scrape_page" --demo-port "$base" "$site" "$work/page$site.html" >"$work/hits$site"
  hits=$(grep -c $'\t' "$work/hits$site" || true)
  last=$(tail -n 1 "$work/hits$site")
  case "$last" in "site exhausted: yes"|"site exhausted: no") ;; *) echo "site $site: no verdict"; exit 1;; esac
  [ "$hits" -ge 1 ] || { echo "site $site: no hits"; exit 1; }
  # number, title, size, date, link; every title carries the keyword
  awk -F'\t' -v s="$site" 'NF > 1 && (NF != 5 || $2 !~ /abc/ || $1 != NR) { print "site " s ": bad line " NR ": " $0; bad = 1 } END { exit bad }' "$work/hits$site"
done

kill -TERM "$server"
wait "$server"
server=
echo "ok"

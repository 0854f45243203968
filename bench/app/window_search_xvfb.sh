#!/usr/bin/env bash
# Runs the window benchmark under an Xvfb of its own, and tells it the
# server's process so that it can count the server's CPU time.
#   window_search_xvfb.sh BENCH_WINDOW_SEARCH [BENCHMARK OPTIONS...]
set -euo pipefail
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/displayfd" 2>/dev/null &
xvfb=$!
read -r -t 20 number <"$work/displayfd"
DISPLAY=":$number" SEEKER_BENCH_XSERVER_PID=$xvfb "$@"

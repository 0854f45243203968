# Shared helpers of the end-to-end tests and of scripts/run: an Xvfb of its
# own, the demo sites on free ports, the program, and ways to drive and read
# its window with xdotool and xclip. Source it; call e2e_init first.

e2e_init() {
  E2E_WORK=$(mktemp -d)
  E2E_PIDS=()
  trap e2e_cleanup EXIT
}

e2e_cleanup() {
  # Wine's own processes (the desktop, the clipboard's keeper) end before
  # the display they were started on.
  [ -n "${SEEKER_WINE_PREFIX:-}" ] && { WINEPREFIX=$SEEKER_WINE_PREFIX wineserver -k 2>/dev/null || true; }
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_WORK"
}

fail() {
  echo "FAIL: $*" >&2
  for f in "$E2E_WORK"/seeker.err "$E2E_WORK"/demo.out; do
    [ -s "$f" ] && sed "s|^|  $(basename "$f"): |" "$f" >&2
  done
  exit 1
}

# in_background OUT ERR COMMAND...: runs COMMAND with its output in OUT and
# ERR until it ends or e2e_cleanup ends it; sets BG_PID.
in_background() {
  local out=$1 err=$2
  shift 2
  "$@" >"$out" 2>"$err" &
  BG_PID=$!
  E2E_PIDS+=($BG_PID)
}

# program PATH [ARGS...]: runs a program of the build; a Windows one (.exe)
# runs under wine through $SEEKER_WINE_RUN in the prefix $SEEKER_WINE_PREFIX.
program() {
  case "$1" in
    *.exe) "$SEEKER_WINE_RUN" "$SEEKER_WINE_PREFIX" "$@" ;;
    *) "$@" ;;
  esac
}

# Starts an Xvfb on a display it chooses itself and exports DISPLAY.
start_xvfb() {
  mkfifo "$E2E_WORK/displayfd"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$E2E_WORK/displayfd" 2>"$E2E_WORK/xvfb.log" &
  E2E_PIDS+=($!)
  local number
  read -r -t 20 number <"$E2E_WORK/displayfd" || fail "Xvfb did not start"
  export DISPLAY=":$number"
}

# start_demo DEMO_SITES [OPTIONS...]: the demo sites on a free run of nine
# ports, requests logged to $E2E_WORK/requests, and a sites configuration
# for them where the program looks for it (XDG_CONFIG_HOME); sets DEMO_PORT.
start_demo() {
  local demo=$1; shift
  export XDG_CONFIG_HOME=$E2E_WORK/config
  local config=$XDG_CONFIG_HOME/seeker/sites.conf
  SEEKER_CONFIG=$config
  mkdir -p "$(dirname "$config")"
  : >"$E2E_WORK/requests"
  for _ in $(seq 1 30); do
    rm -f "$config"
    DEMO_PORT=$((20000 + RANDOM % 40000))
    "$demo" --log "$E2E_WORK/requests" --write-config "$config" "$@" "$DEMO_PORT" \
      >"$E2E_WORK/demo.out" 2>&1 &
    local pid=$!
    for _ in $(seq 1 50); do
      [ -s "$config" ] && { E2E_PIDS+=($pid); DEMO_PID=$pid; return 0; }
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  fail "demo sites did not start"
}

# start_seeker SEEKER: the program against the demo sites; sets SEEKER_PID,
# WIN and the window's absolute position WX, WY.
start_seeker() {
  local args=()
  # A Windows program reads the demo sites' configuration by its drive path.
  [[ $1 == *.exe ]] && args=(--config "Z:${SEEKER_CONFIG//\//\\}")
  in_background "$E2E_WORK/seeker.out" "$E2E_WORK/seeker.err" program "$1" "${args[@]}"
  SEEKER_PID=$BG_PID
  WIN=""
  for _ in $(seq 1 600); do
    WIN=$(xdotool search --name '^青柠搜索器1\.1' 2>/dev/null | head -n 1) && [ -n "$WIN" ] && break
    kill -0 "$SEEKER_PID" 2>/dev/null || fail "seeker ended at start-up"
    sleep 0.1
  done
  [ -n "$WIN" ] || fail "no seeker window"
  WX=$(xwininfo -id "$WIN" | awk '/Absolute upper-left X/ { print $4 }')
  WY=$(xwininfo -id "$WIN" | awk '/Absolute upper-left Y/ { print $4 }')
  sleep 0.8  # the entry animation
}

# Window-relative pointer actions.
click_at() { xdotool mousemove $((WX + $1)) $((WY + $2)) click 1; sleep 0.15; }
point_at() { xdotool mousemove $((WX + $1)) $((WY + $2)); }

# The composition of the main window (client coordinates).
# A click that starts a search shows as the portal request in the log; a
# click lost on a busy machine is repeated once.
click_start() {
  local before
  before=$(wc -l <"$E2E_WORK/requests")
  for _ in 1 2; do
    click_at 458 54
    for _ in $(seq 1 50); do
      [ "$(wc -l <"$E2E_WORK/requests")" -gt "$before" ] && return 0
      sleep 0.1
    done
  done
  fail "the start button did not start a search"
}
click_stop() { click_at 560 54; }
click_copy() { click_at 634 520; }
click_close() { click_at 955 8; }
# click_site N: the site's check box.
click_site() {
  local xs=(0 640 715 790 865 640 715 790 865) ys=(0 53 53 53 53 68 68 68 68)
  click_at "${xs[$1]}" "${ys[$1]}"
}

# type_text TEXT: types TEXT into the window with the keyboard focus. Each
# character without a key gets a spare keycode of its own first, and keeps
# it: xdotool would bind one for the moment of the key press and undo that
# at once, often before a busy program has looked the key up.
type_text() {
  python3 - "$1" <<'PY'
import ctypes, sys
x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XFree.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("type_text: no X display")
low, high, per = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
count = high.value - low.value + 1
table = x11.XGetKeyboardMapping(display, low.value, count, ctypes.byref(per))
rows = [[table[i * per.value + j] for j in range(per.value)] for i in range(count)]
x11.XFree(table)
bound = {keysym for row in rows for keysym in row}
spare = [low.value + i for i, row in enumerate(rows) if not any(row)]
# Latin-1 characters are their own keysyms, the others Unicode keysyms.
wanted = sorted({ord(c) if ord(c) < 0x100 else 0x1000000 + ord(c) for c in sys.argv[1]} - bound)
# The last spare keycodes stay free for xdotool.
if len(wanted) > len(spare) - 2:
    sys.exit("type_text: too few spare keycodes")
for keysym, keycode in zip(wanted, spare):
    x11.XChangeKeyboardMapping(display, keycode, 2, (ctypes.c_ulong * 2)(keysym, keysym), 1)
x11.XSync(display, 0)
PY
  xdotool type --delay 120 "$1"
}

# set_edit X Y TEXT: replaces the text of the edit at (X, Y), checked
# through the clipboard and tried twice.
set_edit() {
  for _ in 1 2; do
    click_at "$1" "$2"
    xdotool key ctrl+a
    type_text "$3"
    sleep 0.2
    [ "$(edit_text "$1" "$2")" = "$3" ] && return 0
  done
  fail "the edit at $1,$2 does not read '$3'"
}
set_keyword() { set_edit 200 54 "$1"; }
set_pages() { set_edit 369 54 "$1"; }

# search_sites_1_and_4 KEYWORD PAGES: searches the two sites the search plan
# expects (the other six unticked) and waits for the finish text.
search_sites_1_and_4() {
  set_keyword "$1"
  set_pages "$2"
  for site in 2 3 5 6 7 8; do click_site "$site"; done
  click_start
  wait_status '^搜索完毕！本次耗时[0-9]+秒'
}

# edit_text X Y: the text of the edit at (X, Y), through Ctrl+A, Ctrl+C and
# the clipboard.
# The clipboard is first set to a marker, so a slow program is waited for
# rather than its old content read.
edit_text() {
  local marker="<unread $RANDOM>" text=""
  # xclip stays to serve the marker, so not on the output this is read from.
  printf '%s' "$marker" | xclip -i -selection clipboard >/dev/null 2>&1
  click_at "$1" "$2"
  xdotool key ctrl+a ctrl+c
  for _ in $(seq 1 50); do
    text=$(xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
    [ "$text" != "$marker" ] && { printf '%s' "$text"; return 0; }
    sleep 0.1
  done
}
status_text() { edit_text 300 520; }

# wait_clipboard TEXT [TENTHS]: waits until the clipboard holds TEXT (a
# click reaches the program, and the program answers, in their own time);
# false with the last text read in CLIPBOARD_TEXT.
wait_clipboard() {
  for _ in $(seq 1 "${2:-100}"); do
    CLIPBOARD_TEXT=$(xclip -o -selection clipboard 2>/dev/null || true)
    [ "$CLIPBOARD_TEXT" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}
pages_text() { edit_text 369 54; }

# expect_plan SEARCH_PLAN KEYWORD PAGES SITES: the plan of that search in
# $E2E_WORK/plan; the demo sites' log holds its requests in their order and
# the status box counts its hits.
expect_plan() {
  "$1" "$DEMO_PORT" "${@:2}" >"$E2E_WORK/plan"
  diff <(grep '^request' "$E2E_WORK/plan" | cut -d' ' -f2-) "$E2E_WORK/requests" >&2 ||
    fail "requests differ from the plan (left) "
  local hits
  hits=$(grep -c '^hit' "$E2E_WORK/plan")
  [ "$(status_count)" = "$hits" ] || fail "finish count $(status_count), expected $hits"
  echo "requests in order; $hits hits reported"
}

# copy_row N: a click on the plan's row N shows its title and link in the
# status box, and the copy button puts the link on the clipboard; sets LINK.
copy_row() {
  local title
  IFS=$'\t' read -r _ title LINK < <(grep "^hit $1	" "$E2E_WORK/plan")
  click_row "$1"
  [ "$(status_text)" = "【$title】 下载地址：  $LINK" ] || fail "row $1 shows: $(status_text)"
  click_copy
  wait_clipboard "$LINK" || fail "clipboard after copy: $CLIPBOARD_TEXT"
  [ "$(status_text)" = "【$title】的下载地址已复制......" ] || fail "after copy: $(status_text)"
  echo "row $1 copied: $LINK"
}

# wait_status REGEX [TENTHS]: waits until the status box matches.
wait_status() {
  local text=""
  for _ in $(seq 1 "${2:-300}"); do
    text=$(status_text)
    grep -qE "$1" <<<"$text" && { STATUS=$text; return 0; }
    sleep 0.3
  done
  fail "status box never matched '$1' (last: $text)"
}

# The number of hits a finished or stopped search reports.
status_count() { grep -oE '共搜到[0-9]+个资源' <<<"$STATUS" | grep -oE '[0-9]+'; }

shoot() { xwd -root -silent | convert xwd:- -crop "975x547+$WX+$WY" +repage "$1"; }

# wait_exit PID [TENTHS]: waits for the process to end; its code in EXIT_CODE.
wait_exit() {
  for _ in $(seq 1 "${2:-100}"); do
    if ! kill -0 "$1" 2>/dev/null; then
      set +e; wait "$1"; EXIT_CODE=$?; set -e
      return 0
    fi
    sleep 0.1
  done
  fail "process $1 did not end"
}

# row_y N: sets ROW_Y to the window-relative y of result row N (the list
# unscrolled). LIST_GEOMETRY names the list_geometry tool; its answer is kept.
row_y() {
  [ -s "$E2E_WORK/rows" ] || "$LIST_GEOMETRY" >"$E2E_WORK/rows" || fail "list_geometry failed"
  ROW_Y=$(awk -v n="$1" '$1 == "row" && $2 == n { print $3 }' "$E2E_WORK/rows")
  [ -n "$ROW_Y" ] || fail "row $1 is not on screen"
}

# click_row N: clicks result row N.
click_row() {
  row_y "$1"
  click_at 300 "$ROW_Y"
}

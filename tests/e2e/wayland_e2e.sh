#!/usr/bin/env bash
# A Wayland session: weston with Xwayland, in a window of the X server that
# xvfb-run gives. Spreadsheet cells on the Wayland clipboard → Tabulon
# started as a desktop starts it (QT_QPA_PLATFORM unset) → "作成する" →
# "Ｏ Ｋ" → the program ends and wl-paste gives the exact table. The keys go
# to weston's window on the outer X server, as a person's would. Several
# rounds in a row. Last, the same on Qt's own Wayland platform, as where no
# Xwayland runs: the grid is read once the window has the focus, and after
# "Ｏ Ｋ" the process keeps the table, without a window, until another
# program copies. With no X11 window to wait for there, it waits for the
# preview by time, so that round runs once.
set -euo pipefail
tabulon=$1 filter=$2 samples=$3 rounds=${4:-3}
out=${OUT:-$(mktemp -d)}
work=$(mktemp -d)
outer=$DISPLAY
export LC_ALL=C.UTF-8 XDG_SESSION_TYPE=wayland
weston_pid= pid=
finish() {
  local status=$?
  [ "$status" -eq 0 ] || tail -n 15 "$work/weston.log" >&2 2>/dev/null || true
  [ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
source "$(dirname "$0")/lib.sh"
# weston's window on the outer X server takes the keyboard, as a person's
# would give it.
focus_compositor() {
  for _ in $(seq 50); do
    compositor=$(DISPLAY=$outer xdotool search --onlyvisible --classname weston-1 | head -n1)
    [ -n "$compositor" ] && DISPLAY=$outer xdotool windowfocus --sync "$compositor" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "no weston window"
}
keys() { DISPLAY=$outer xdotool key "$@"; }
# The compositor's clipboard tools, bounded: weston 10's clipboard bridge now
# and then stops answering (a request that never gets its data), and a tool
# waiting on it would wait for ever. A timeout marks weston as stuck.
stuck=
bounded() {
  local status=0
  timeout 5 "$@" || status=$?
  [ "$status" -ne 124 ] || stuck=1
  return "$status"
}
DISPLAY=$outer start_weston "$work"
export DISPLAY=$xwayland
focus_compositor

# A round prints why it failed and returns 1; it ends the program it started.
no() {
  echo "$*"
  kill "$pid" 2>/dev/null || true
  return 1
}

# When wl-paste gets no answer or other text, weston's bridge is to blame
# (stuck is set) only if the holder gives the table on the X11 side;
# otherwise the fault is Tabulon's and the round fails for good.
blame_weston() {
  stuck=
  bounded xclip -selection clipboard -o >"$work/x11" 2>/dev/null
  if [ -z "$stuck" ] && cmp -s "$work/x11" "$work/table"; then stuck=1; else stuck=; fi
}

x11_round() {
  # The cells on the Wayland clipboard, offered to X11 programs too: only
  # the desktop is at work here, so a failure is weston's.
  local offered=
  bounded wl-copy <"$samples/spreadsheet.txt" 2>"$work/wl-copy.err" ||
    { stuck=1; no "wl-copy failed: $(cat "$work/wl-copy.err")"; return 1; }
  for _ in $(seq 50); do
    bounded xclip -selection clipboard -o >"$work/offered" 2>/dev/null
    [ -z "$stuck" ] || { no "xclip got no answer"; return 1; }
    cmp -s "$work/offered" "$samples/spreadsheet.txt" && offered=1 && break
    sleep 0.1
  done
  [ -n "$offered" ] || { stuck=1; no "the cells never reached X11"; return 1; }
  "$tabulon" 2>"$work/stderr" &
  pid=$!
  main=$(wait_window Tabulon) || no "the main window did not come up" || return 1
  wait_focus "$main" || no "the main window did not get the focus" || return 1
  [ "$1" -gt 1 ] || DISPLAY=$outer /usr/bin/import -window root "$out/wayland_main_window.png"
  keys Return  # "作成する"
  preview=$(wait_window プレビュー) || no "Return did not open the preview" || return 1
  wait_focus "$preview" || no "the preview did not get the focus" || return 1
  keys ctrl+Tab Tab Return  # from the memo to "Ｏ Ｋ"
  wait_exit "$pid" || no "the program did not end after Ｏ Ｋ" || return 1
  # weston keeps the text itself once it has read it from the holder; until
  # then, or if it does not, the holder keeps it.
  for _ in $(seq 50); do
    bounded wl-paste --no-newline >"$work/got" 2>/dev/null
    [ -z "$stuck" ] || { blame_weston; no "wl-paste got no answer"; return 1; }
    cmp -s "$work/got" "$work/table" && break
    sleep 0.1
  done
  [ "$(holders | wc -l)" -le 1 ] || no "more than one holder" || return 1
  cmp -s "$work/got" "$work/table" || {
    blame_weston
    no "the Wayland clipboard differs
$(diff <(od -c "$work/table") <(od -c "$work/got") | head -20)"
    return 1
  }
  [ ! -s "$work/stderr" ] || no "tabulon said: $(cat "$work/stderr")"
}

wayland_round() {
  # Served once: when the window, having the focus, has read the cells, the
  # copy ends.
  wl-copy --foreground --paste-once <"$samples/spreadsheet.txt" 2>/dev/null &
  local copy_pid=$!
  QT_QPA_PLATFORM=wayland "$tabulon" 2>"$work/stderr" &
  pid=$!
  wait_exit "$copy_pid" || { kill "$copy_pid" 2>/dev/null; no "the window did not read the clipboard"; } || return 1
  sleep 1  # the read ends as the window takes the focus; the keys come after
  keys Return
  sleep 6  # no X11 window to wait for: the preview's by time, with room for a busy machine
  keys ctrl+Tab Tab Return
  for _ in $(seq 50); do [ -s "$work/stderr" ] && break; sleep 0.1; done
  grep -q 'until another program copies' "$work/stderr" || no "no table kept: $(cat "$work/stderr")" || return 1
  # Tabulon itself serves this request: a stall is its fault, not weston's.
  timeout 5 wl-paste --no-newline >"$work/got" || no "wl-paste failed" || return 1
  cmp -s "$work/got" "$work/table" || no "the clipboard differs" || return 1
  kill -0 "$pid" || no "the table's keeper has gone" || return 1
  echo other | bounded wl-copy 2>/dev/null
  wait_exit "$pid" || no "the keeper stayed after another copy"
}

# weston 10 itself now and then dies in its own clipboard bridge (a double
# free in its Xwayland selection code, seen in its core dumps) or stops
# answering there; then a new weston starts and the round runs again, up to
# five times (on a busy machine it failed three rounds in a row). The
# Wayland-only round waits for its windows by time, so it may run three times.
run() {  # name, round function, arguments
  local name=$1 attempt
  shift
  for attempt in 1 2 3 4 5; do
    stuck=
    if "$@"; then echo "$name: ok"; return 0; fi
    if ! kill -0 "$weston_pid" 2>/dev/null || [ -n "$stuck" ]; then
      echo "$name: weston crashed or stopped answering; starting it again" >&2
      kill "$weston_pid" 2>/dev/null && { wait_exit "$weston_pid" || kill -9 "$weston_pid"; } 2>/dev/null || true
      DISPLAY=$outer start_weston "$work"
      export DISPLAY=$xwayland
      focus_compositor
    elif [ "$1" != wayland_round ] || [ "$attempt" -ge 3 ]; then
      fail "$name"
    fi
  done
  fail "$name: weston kept crashing"
}

"$filter" --crlf <"$samples/spreadsheet.txt" >"$work/table"
for round in $(seq "$rounds"); do run "round $round" x11_round "$round"; done
run "Wayland round" wayland_round
echo "ok: screenshot in $out"

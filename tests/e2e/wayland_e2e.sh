#!/usr/bin/env bash
# A Wayland session: weston with Xwayland, in a window of the X server that
# xvfb-run gives. Spreadsheet cells on the Wayland clipboard → Tabulon
# started as a desktop starts it (QT_QPA_PLATFORM unset) → "作成する" →
# "Ｏ Ｋ" → the program ends and wl-paste gives the exact table. The keys go
# to weston's window on the outer X server, as a person's would. Several
# rounds in a row. Last, the same on Qt's own Wayland platform, as where no
# Xwayland runs: the grid is read once the window has the focus, and after
# "Ｏ Ｋ" the process keeps the table, without a window, until another
# program copies. With no X11 window to wait for there, it waits by time.
set -euo pipefail
tabulon=$1 filter=$2 samples=$3 rounds=${4:-3}
out=${OUT:-$(mktemp -d)}
work=$(mktemp -d)
outer=$DISPLAY
export LC_ALL=C.UTF-8 XDG_SESSION_TYPE=wayland
weston_pid=
trap '[ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"
start_weston "$work"
export DISPLAY=$xwayland
compositor=$(DISPLAY=$outer xdotool search --classname weston-1 | head -n1)
[ -n "$compositor" ] || fail "no weston window"
keys() { DISPLAY=$outer xdotool windowfocus --sync "$compositor" key "$@"; }

"$filter" --crlf <"$samples/spreadsheet.txt" >"$work/table"
for round in $(seq "$rounds"); do
  wl-copy <"$samples/spreadsheet.txt" 2>/dev/null
  "$tabulon" 2>"$work/stderr" &
  pid=$!
  wait_window Tabulon >/dev/null || fail "the main window did not come up"
  [ "$round" -gt 1 ] || DISPLAY=$outer /usr/bin/import -window root "$out/wayland_main_window.png"
  keys Return  # "作成する"
  wait_window プレビュー >/dev/null || fail "Return did not open the preview"
  keys ctrl+Tab Tab Return  # from the memo to "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  wait_holders 0 || fail "a holder stayed beside the desktop's clipboard"
  wl-paste --no-newline >"$work/got"
  cmp -s "$work/got" "$work/table" || fail "round $round: the Wayland clipboard differs
$(diff <(od -c "$work/table") <(od -c "$work/got") | head -20)"
  [ ! -s "$work/stderr" ] || fail "round $round: tabulon said: $(cat "$work/stderr")"
  echo "round $round: ok"
done
for round in 1 2; do
  wl-copy <"$samples/spreadsheet.txt" 2>/dev/null
  QT_QPA_PLATFORM=wayland "$tabulon" 2>"$work/stderr" &
  pid=$!
  sleep 2
  keys Return
  sleep 2
  keys ctrl+Tab Tab Return
  for _ in $(seq 50); do [ -s "$work/stderr" ] && break; sleep 0.1; done
  grep -q 'until another program copies' "$work/stderr" || fail "Wayland round $round: $(cat "$work/stderr")"
  wl-paste --no-newline >"$work/got"
  cmp -s "$work/got" "$work/table" || fail "Wayland round $round: the clipboard differs"
  kill -0 "$pid" || fail "Wayland round $round: the table's keeper has gone"
  echo other | wl-copy 2>/dev/null
  wait_exit "$pid" || fail "Wayland round $round: the keeper stayed after another copy"
  echo "Wayland round $round: ok"
done
echo "ok: screenshot in $out"

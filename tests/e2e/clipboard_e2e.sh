#!/usr/bin/env bash
# Copies inside the program never cost the table: after a cell copy or a copy
# from the preview's memo, "Ｏ Ｋ" leaves exactly the table on the clipboard;
# "閉じる" leaves the last copy, unless another program has copied since. One
# holder at most stays. Each case runs several times in a row, since what it
# guards against was a race; first without, then with a clipboard manager.
# Run under xvfb-run.
set -euo pipefail
tabulon=$1 filter=$2 samples=$3 manager=$4 rounds=${5:-3}
work=$(mktemp -d)
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
manager_pid=
trap '[ -z "$manager_pid" ] || kill "$manager_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"

"$filter" --crlf <"$samples/spreadsheet.txt" >"$work/table"
"$filter" <"$samples/spreadsheet.txt" | head -c -1 >"$work/memo"  # the memo's lines, LF between

# Starts on the sample cells and copies the cell of 数量 in row 2 with Ctrl+C.
start_and_copy_cell() {
  xclip -selection clipboard -i <"$samples/spreadsheet.txt"
  start_tabulon
  click "$main" 100 70
  xdotool windowfocus --sync "$main" key ctrl+c
  for _ in $(seq 50); do [ "$(xclip -selection clipboard -o)" = "   12" ] && return; sleep 0.1; done
  fail "Ctrl+C on a cell did not copy it"
}

press_ok() {
  click "$preview" 660 19  # Button1 "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
}

# What the round leaves behind: exactly one holder without a manager, none
# beside a manager (which then holds the text).
settled() {
  wait_holders "$1" || fail "$2: $(holders | wc -l) holders, not $1"
}

cell_copy_then_ok() {
  start_and_copy_cell
  create_preview
  press_ok
  settled "$1" "cell copy, Ｏ Ｋ"
  clipboard_is "cell copy, Ｏ Ｋ" "$work/table"
}

memo_copy_then_ok() {
  xclip -selection clipboard -i <"$samples/spreadsheet.txt"
  open_preview
  # The memo's menu: "全て選択", then "コピー".
  xdotool mousemove --window "$preview" 300 200 click 3 sleep 0.3 key Down Return
  xdotool mousemove --window "$preview" 300 200 click 3 sleep 0.3 key Down Down Return
  for _ in $(seq 50); do cmp -s <(xclip -selection clipboard -o) "$work/memo" && break; sleep 0.1; done
  clipboard_is "memo コピー" "$work/memo"
  press_ok
  settled "$1" "memo コピー, Ｏ Ｋ"
  clipboard_is "memo コピー, Ｏ Ｋ" "$work/table"
}

cell_copy_then_close() {
  start_and_copy_cell
  click "$main" 517 328  # Button2 "閉じる"
  wait_exit "$pid" || fail "the program did not end after 閉じる"
  settled "$1" "cell copy, 閉じる"
  printf "   12" >"$work/cell"
  clipboard_is "cell copy, 閉じる" "$work/cell"
}

copy_elsewhere_then_close() {
  start_and_copy_cell
  echo other | xclip -selection clipboard -i
  click "$main" 517 328
  wait_exit "$pid" || fail "the program did not end after 閉じる"
  echo other >"$work/other"
  settled 0 "another program's copy, 閉じる"
  clipboard_is "another program's copy, 閉じる" "$work/other"
}

for round in $(seq "$rounds"); do
  cell_copy_then_ok 1
  memo_copy_then_ok 1
  cell_copy_then_close 1
  copy_elsewhere_then_close
  echo "round $round without a manager: ok"
done

start_manager || fail "no clipboard manager"
for round in $(seq "$rounds"); do
  cell_copy_then_ok 0
  memo_copy_then_ok 0
  cell_copy_then_close 0
  echo "round $round with a manager: ok"
done
echo ok

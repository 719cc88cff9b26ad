#!/usr/bin/env bash
# The whole road with the real program, the real clipboard and no clipboard
# manager: cells → window → "作成する" → a style → "Ｏ Ｋ" → the program has
# ended and the wrapped table is on the clipboard, held until another program
# takes it; the table read back gives the same table; a file loaded in the
# preview stays on the clipboard after "戻る" and "閉じる". Last, with a
# clipboard manager running, the table goes to the manager and no holder
# stays; with a manager that refuses it, the holder keeps it. Run under
# xvfb-run.
set -euo pipefail
tabulon=$1 filter=$2 samples=$3 manager=$4
work=$(mktemp -d)
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
trap 'rm -rf "$work"' EXIT  # the holders end with the X server

source "$(dirname "$0")/lib.sh"

# 1. Cells, "作成する" (Return), "Delphi", "Ｏ Ｋ".
xclip -selection clipboard -i <"$samples/spreadsheet.txt"
open_preview
click "$preview" 630 97   # RadioButton1 "Delphi"
click "$preview" 660 19   # Button1 "Ｏ Ｋ"
wait_exit $pid || fail "the program did not end after Ｏ Ｋ"
"$filter" --crlf --wrap brace <"$samples/spreadsheet.txt" >"$work/delphi"
clipboard_is "Delphi table after the program ended" "$work/delphi"
wait_holders 1 || fail "not one holder"

# 2. The full circle: that table back in, "ﾌﾟﾚｰﾝ", the same table unwrapped.
# Starting takes the clipboard from nobody: the holder keeps it meanwhile.
open_preview
xdotool windowfocus --sync "$preview"
# Return is the memo's (the preview opens with the focus there); Ctrl+Tab
# leaves it for "戻る", Tab goes on to "Ｏ Ｋ". "ﾌﾟﾚｰﾝ" is checked.
xdotool key Return ctrl+Tab Tab Return
wait_exit $pid || fail "the program did not end, second run"
"$filter" --crlf <"$samples/spreadsheet.txt" >"$work/plain"
clipboard_is "the table read back and written again" "$work/plain"

# Another program takes the clipboard: the holders are gone.
echo other | xclip -selection clipboard -i
wait_holders 0 || fail "a holder outlived the clipboard"

# 3. A file loaded in the preview, then "戻る" and "閉じる".
printf 'x\t1\ny\t2\n' >"$work/cells.TXT"
xclip -selection clipboard -i <"$samples/spreadsheet.txt"
open_preview
click "$preview" 660 428  # Button3 "読込む"
dialog=$(wait_window '開く') || fail "no open dialog"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 5 "$work/cells.TXT"
xdotool key Return
wait_gone '開く' || fail "the open dialog stayed"
# The loaded text is on the clipboard once the holder is up.
wait_holders 1 || fail "no holder for the loaded file"
click "$preview" 660 51   # Button2 "戻る"
wait_gone 'プレビュー' || fail "戻る did not close the preview"
click "$main" 517 328     # Button2 "閉じる"
wait_exit $pid || fail "the program did not end after 閉じる"
printf 'x\t1\r\ny\t2\r\n' >"$work/loaded"
clipboard_is "the loaded file after 閉じる" "$work/loaded"
echo other | xclip -selection clipboard -i
wait_holders 0 || fail "a holder outlived the clipboard"

# 4. A clipboard manager runs: the holder hands the table to it and ends.
start_manager || fail "no clipboard manager"
xclip -selection clipboard -i <"$samples/spreadsheet.txt"
open_preview
click "$preview" 660 19   # Button1 "Ｏ Ｋ"
wait_exit $pid || fail "the program did not end, with a manager"
wait_holders 0 || fail "the holder stayed beside the manager"
clipboard_is "the table the manager kept" "$work/plain"
kill "$manager_pid" 2>/dev/null || true
wait "$manager_pid" 2>/dev/null || true

# 5. A manager that refuses the text: the holder takes the clipboard back.
start_manager --refuse || fail "no refusing manager"
xclip -selection clipboard -i <"$samples/spreadsheet.txt"
open_preview
click "$preview" 660 19   # Button1 "Ｏ Ｋ"
wait_exit $pid || fail "the program did not end, with a refusing manager"
wait_holders 1 || fail "no holder kept the table the manager refused"
clipboard_is "the table the holder took back" "$work/plain"
kill "$manager_pid" 2>/dev/null || true
echo ok

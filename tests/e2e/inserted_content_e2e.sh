#!/usr/bin/env bash
# Menu content in the real program: a right press on an empty data cell, then
# "記号" ▸ "○", and on a column heading "文字揃え" ▸ "右"; the table Ｏ Ｋ leaves
# holds the ○ in its column, widened to fit it, and the column's cells
# right-aligned in its width. Several rounds, since the clipboard hand-off at
# the end is timing-dependent. Run under xvfb-run.
set -euo pipefail
tabulon=$1 filter=$2 samples=$3 rounds=${4:-3}
work=$(mktemp -d)
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"

# Client positions in the main window over the spreadsheet sample: the
# heading row, columns b and e, row 2.
head_y=40 col_b=85 col_e=190 row_2=75

# The same grid as the filter reads it: ○ as a fifth field of row 2, and
# the heading of column b right-aligned in its five display columns.
awk -F'\t' -v OFS='\t' 'NR == 1 { $2 = " " $2 } NR == 2 { $5 = "○" } { print }' \
  "$samples/spreadsheet.txt" | "$filter" --crlf >"$work/table"

for round in $(seq "$rounds"); do
  xclip -selection clipboard -i <"$samples/spreadsheet.txt"
  start_tabulon
  # 切り取り, コピー, 貼り付け, 削除, 文字揃え, 日付, 記号 ▸ ○
  open_menu $col_e $row_2 && choose Down Down Down Down Down Down Down Right Return
  # 列切り取り, 列コピー, 列削除, 列挿入, 文字揃え ▸ 左, 中央（簡易）, 右
  open_menu $col_b $head_y && choose Down Down Down Down Down Right Down Down Return
  create_preview
  click "$preview" 660 19  # "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  wait_holders 1 || fail "round $round: $(holders | wc -l) clipboard holders, not 1"
  clipboard_is "round $round: ○ inserted and column b right-aligned" "$work/table"
  echo "round $round: ok"
done
echo ok

#!/usr/bin/env bash
# The grid by mouse in the real program: a click on a column heading selects
# the whole column; the heading's menu copies a column into another, heading
# text and all, and Ｏ Ｋ leaves the table of that grid on the clipboard. The
# three grid menus are left in $OUT as screenshots for a person to look at
# (captions, enabled items). The copy round runs several times, since the
# clipboard hand-off at the end is timing-dependent. Run under xvfb-run.
set -euo pipefail
tabulon=$1 filter=$2 samples=$3 rounds=${4:-3}
out=${OUT:-$(mktemp -d)}
work=$(mktemp -d)
mkdir -p "$out"
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"

# Client positions in the main window: the heading row, columns b and e,
# row 2, the row headings.
head_y=40 col_b=85 col_e=190 row_2=75 row_heads=14

shoot_menu() { sleep 0.3; /usr/bin/import -window root "$out/$1"; choose Escape; }

pixel() { convert "$work/grid.png" -format "%[pixel:p{$1,$2}]" info:; }

xclip -selection clipboard -i <"$samples/spreadsheet.txt"
start_tabulon
sleep 0.3
/usr/bin/import -window "$main" "$work/grid.png"
blank=$(pixel $col_b 210)  # an empty cell, not selected

# A left click on heading b highlights every cell of column b, empty rows
# included, and nothing in the columns beside it.
click "$main" $col_b $head_y
sleep 0.3
/usr/bin/import -window root "$out/column_selected.png"
/usr/bin/import -window "$main" "$work/grid.png"
lit=$(pixel $col_b 210)
[ "$lit" != "$blank" ] || fail "column b is not highlighted after a click on its heading"
for y in $row_2 125 295; do
  [ "$(pixel $col_b $y)" = "$lit" ] || fail "column b is highlighted only in part (y=$y)"
done
for x in 50 120; do
  [ "$(pixel $x 210)" = "$blank" ] || fail "the click on heading b highlighted x=$x too"
done

open_menu $col_b $row_2 && shoot_menu menu_cells.png
open_menu $col_b $head_y && shoot_menu menu_columns.png
open_menu $row_heads $row_2 && shoot_menu menu_rows.png
click "$main" 517 328  # Button2 "閉じる"
wait_exit "$pid" || fail "the program did not end after 閉じる"

# Column b copied into column e: the filter's table of those cells, with
# heading e reading b.
awk -F'\t' -v OFS='\t' '{ $5 = $2; print }' "$samples/spreadsheet.txt" | "$filter" --crlf |
  sed '4s/^| ＼|a     |b    |c    |d     |e    |/| ＼|a     |b    |c    |d     |b    |/' >"$work/table"

for round in $(seq "$rounds"); do
  xclip -selection clipboard -i <"$samples/spreadsheet.txt"
  start_tabulon
  open_menu $col_b $head_y && choose Down Down Return  # 列コピー
  open_menu $col_e $head_y && choose Down Down Down Return  # 列貼り付け
  create_preview
  click "$preview" 660 19  # Button1 "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  wait_holders 1 || fail "round $round: $(holders | wc -l) clipboard holders, not 1"
  clipboard_is "round $round, column b pasted into e, Ｏ Ｋ" "$work/table"
  echo "round $round: ok"
done
echo "ok: screenshots in $out"

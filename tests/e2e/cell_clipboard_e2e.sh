#!/usr/bin/env bash
# Cells through the clipboard in the real program: spreadsheet text whose
# first row holds an apostrophe is pasted as a block with Ctrl+V at a clicked
# cell and goes into the table Ｏ Ｋ leaves; a block selected by dragging goes
# out with Ctrl+C as TAB and CR LF text, which stays on the clipboard after
# "閉じる"; text of characters outside the code page comes out of Ｏ Ｋ as it
# went in; a table behind "//" goes back behind it, and "#" chosen in the
# preview leads every line. Several rounds, since the hand-offs are timing-dependent. Run
# under xvfb-run.
set -euo pipefail
tabulon=$1 filter=$2 rounds=${3:-3}
work=$(mktemp -d)
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"

cells=$'Don\'t\tprice\n1\t250\n'
# The same cells with the pasted block at column 3, row 4, as the filter
# reads them.
printf "%s\n\tDon't\tprice\n\t1\t250\n" "$cells" | "$filter" --crlf >"$work/table"
printf '品名\t数量\r\nりんご\t   12\r\nﾊﾞﾅﾅ\t    3\r\n' >"$work/block"

# Characters of no code page and ones CP932 holds only a twin of (U+301C,
# U+2212, U+2014, once ～ － ―): the table Ｏ Ｋ leaves is the filter's, which
# holds them as they are, its lines all 99 display columns wide, where a
# character the code page holds takes the bytes of its CP932 code (iconv's
# CP932 takes the three), any other two if Unicode calls it Wide or
# Fullwidth, else one.
odd=$'〜\t−\t—\né\t€\t✅\n𠮷\t한\t¢\n'
printf '%s' "$odd" | "$filter" --crlf >"$work/odd"
line_widths() {
  python3 -c 'import functools, subprocess, sys, unicodedata
@functools.cache
def cols(c):
    r = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=c.encode(), capture_output=True)
    return len(r.stdout) if r.returncode == 0 else 1 + (unicodedata.east_asian_width(c) in "WF")
for line in open(sys.argv[1], encoding="utf-8", newline=""):
    print(sum(map(cols, line.rstrip("\r\n"))))' "$1" | sort -u
}
for row in '|  1|〜|−|—|  |' '|  2|é |€ |✅|  |' '|  3|𠮷|한|¢|  |'; do
  grep -qF "$row" "$work/odd" || fail "the filter changed the cells: $(cat "$work/odd")"
done
[ "$(line_widths "$work/odd")" = 99 ] || fail "lines of $(line_widths "$work/odd" | xargs) columns"

# Line comments: a table behind "// " as the filter writes it, and the same
# cells behind "# ".
printf '%s' "$cells" | "$filter" --wrap slashes --crlf >"$work/slashes"
printf '%s' "$cells" | "$filter" --wrap hash --crlf >"$work/hash"

for round in $(seq "$rounds"); do
  printf '%s' "$cells" | xclip -selection clipboard -i
  start_tabulon
  click "$main" 70 109  # cell (3, 4): the second data column, the fourth row
  xdotool windowfocus --sync "$main" key ctrl+v
  create_preview
  click "$preview" 660 19  # "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  clipboard_is "round $round: the block pasted at (3, 4)" "$work/table"

  printf '品名\t数量\nりんご\t12\nﾊﾞﾅﾅ\t3\nWidget\t1,024\n' | xclip -selection clipboard -i
  start_tabulon
  # From 品名 (2, 1) to 3 of ﾊﾞﾅﾅ (3, 3), the rows read from the clipboard.
  xdotool mousemove --window "$main" 45 58 mousedown 1 mousemove --window "$main" 80 80 \
    mousemove --window "$main" 85 92 mouseup 1
  xdotool windowfocus --sync "$main" key ctrl+c
  for _ in $(seq 50); do cmp -s <(xclip -selection clipboard -o) "$work/block" && break; sleep 0.1; done
  clipboard_is "round $round: the dragged block copied" "$work/block"
  click "$main" 517 328  # "閉じる"
  wait_exit "$pid" || fail "the program did not end after 閉じる"
  wait_holders 1 || fail "round $round: not one holder after 閉じる"
  clipboard_is "round $round: the copy after 閉じる" "$work/block"
  printf '%s' "$odd" | xclip -selection clipboard -i
  open_preview
  click "$preview" 660 19  # "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  clipboard_is "round $round: characters of no code page" "$work/odd"
  xclip -selection clipboard -i <"$work/slashes"
  open_preview  # on "//", which the table stood behind
  click "$preview" 660 19  # "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  clipboard_is "round $round: the table behind //" "$work/slashes"
  printf '%s' "$cells" | xclip -selection clipboard -i
  open_preview
  click "$preview" 630 240  # "#"
  click "$preview" 660 19   # "Ｏ Ｋ"
  wait_exit "$pid" || fail "the program did not end after Ｏ Ｋ"
  clipboard_is "round $round: the table behind #" "$work/hash"
  echo "round $round: ok"
done
echo ok

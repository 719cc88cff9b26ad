#!/usr/bin/env bash
# The real program in a real X server with the real clipboard: a table on the
# clipboard comes up in the window, and Return ("作成する") opens the preview.
# Run under xvfb-run; a screenshot of each step is left in $OUT for a person
# to look at (Japanese text and box characters in line with the columns).
set -euo pipefail
tabulon=$1 filter=$2 samples=$3
out=${OUT:-$(mktemp -d)}
mkdir -p "$out"
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$out}

source "$(dirname "$0")/lib.sh"

# The clipboard needs an owner that stays: xclip serves it in the background.
"$filter" --rules box --title 価格表 --trim --wrap slash <"$samples/spreadsheet.txt" |
  xclip -selection clipboard -i
start_tabulon
trap 'kill $pid 2>/dev/null || true' EXIT
sleep 0.3
/usr/bin/import -window root "$out/main_window.png"
create_preview
sleep 0.3
/usr/bin/import -window root "$out/preview.png"

# The preview shows what the writer made of the grid: copy it out with
# Ctrl+A, Ctrl+C and compare it with the table the filter makes of the same
# cells.
xdotool windowfocus --sync "$preview"
xdotool key ctrl+a ctrl+c
want=$("$filter" --rules box --title 価格表 --trim <"$samples/spreadsheet.txt")
for _ in $(seq 50); do
  got=$(xclip -selection clipboard -o)
  [ "$got" = "$want" ] && break
  sleep 0.1
done
[ "$got" = "$want" ] || fail "the preview shows another table:
$got
--- expected
$want"
kill -0 $pid || fail "the program ended"
echo "ok: screenshots in $out"

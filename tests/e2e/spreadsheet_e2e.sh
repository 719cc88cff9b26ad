#!/usr/bin/env bash
# Cells as real spreadsheets and a browser put them on the clipboard: a plain
# text that flattens or shifts the cells beside the forms that keep them
# (Calc's quoted TAB text and HTML, Gnumeric's and a browser's HTML). The
# program opens with the cells as the sheet had them, and Ｏ Ｋ leaves the
# table of those cells. Two rounds each. Run under xvfb-run.
set -euo pipefail
tabulon=$1 filter=$2 owner=$3 data=$4
work=$(mktemp -d)
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
pid= owner_pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true
      [ -z "$owner_pid" ] || kill "$owner_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"

# name, the cells as the sheet had them (the HTML the filter reads), forms
cases=(
  "calc|calc_block.html|UTF8_STRING=calc_block.txt application/x-libreoffice-tsvc=calc_block.tsvc text/html=calc_block.html"
  "gnumeric|gnumeric_block.html|UTF8_STRING=gnumeric_block.txt text/html=gnumeric_block.html"
  "browser|browser_table.html|UTF8_STRING=browser_table.txt text/html=browser_table.html"
)
for entry in "${cases[@]}"; do
  IFS='|' read -r name cells forms <<<"$entry"
  "$filter" --crlf <"$data/$cells" >"$work/want"
  grep -q '一行目' "$work/want" || fail "$name: the filter did not read $cells"
  # Gnumeric's HTML writes -3.5 with the minus sign U+2212 (&#8722;): a number all the same.
  [ "$name" != gnumeric ] || grep -qF '|みかん    |      -3.5|' "$work/want" ||
    fail "$name: -3.5 is not a number: $(cat "$work/want")"
  args=()
  for form in $forms; do args+=("${form%%=*}=$data/${form#*=}"); done
  for round in 1 2; do
    "$owner" "${args[@]}" >"$work/owner.out" &
    owner_pid=$!
    for _ in $(seq 50); do [ "$(head -n 1 "$work/owner.out")" = ready ] && break; sleep 0.1; done
    start_tabulon
    create_preview
    click "$preview" 660 19  # "Ｏ Ｋ"
    wait_exit "$pid" || fail "$name: the program did not end after Ｏ Ｋ"
    pid=
    wait "$owner_pid" 2>/dev/null || true  # it ends when the holder takes the clipboard
    owner_pid=
    clipboard_is "$name round $round" "$work/want"
    echo "$name round $round: ok"
  done
done
echo ok

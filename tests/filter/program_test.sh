#!/usr/bin/env bash
# The real tabulon-filter on real pipes: what a script or an editor sees.
set -u
filter=$1 samples=$2
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    printf 'FAIL %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$2" "$3"
    fail=1
  fi
}

check "trimmed two-column table" "$(printf '%s\n' '+-^---==-^+' '|         |' '+---+--+--+' \
  '| ＼|a |b |' '+---+--+--+' '|  1|x |12|' '+---+--+--+' '|  2|yy| 3|' '+---+--+--+')" \
  "$(printf 'x\t12\nyy\t3\n' | "$filter" --trim)"

out=$("$filter" --rules box --title 価格表 --trim < "$samples/spreadsheet.txt"); status=$?
check "sample exit status" 0 "$status"
check "sample first line" "┌^---==-^─────────────┐" "$(head -n1 <<<"$out")"
check "sample numbers right-aligned" "│   2│りんご│   12│1,200│青森産│" "$(sed -n 8p <<<"$out")"

err=$("$filter" --trim --width 40 </dev/null 2>&1 >/dev/null); status=$?
check "contradiction status" 2 "$status"
check "contradiction message" "tabulon-filter: --trim and --width exclude each other" "$err"

"$filter" --width 11 </dev/null >/dev/null 2>&1; check "bad width status" 2 "$?"
"$filter" --help >/dev/null; check "help status" 0 "$?"

# Characters outside the code page: UTF-8 keeps each as it is (U+301C and
# U+2212, not their CP932 twins ～ －); CP932 out writes 〜 as 0x8160 and "?"
# for each column of a character CP932 lacks, and says so; a CP932 byte that
# is no character is read as U+FFFD, and said.
check "wave dash and minus sign kept" "$(printf ' \n〜\t−\t')" "$(printf '〜\t−\n' | "$filter" --rules none)"
cp932_out() { printf '〜\té\t✅\n' | "$filter" --rules none --output-encoding cp932; }
check "CP932 out" "20 0a 81 60 09 3f 20 09 3f 3f 09 0a" "$(cp932_out 2>/dev/null | od -An -tx1 | xargs)"
check "CP932 out: note" 'tabulon-filter: 2 characters that CP932 lacks written as "?"' "$(cp932_out 2>&1 >/dev/null)"
bad_cp932() { printf '\x82\xa0\t\xa0\n' | "$filter" --rules none --output-encoding utf-8; }  # あ, 0xA0
check "bad CP932 byte" "$(printf ' \nあ\t\xef\xbf\xbd \t')" "$(bad_cp932 2>/dev/null)"
check "bad CP932 byte: note" "tabulon-filter: 1 invalid byte sequence read as U+FFFD" "$(bad_cp932 2>&1 >/dev/null)"

# --ambiguous narrow: every line of a box table holding ○ ① α ─ ※ is as wide
# in a UTF-8 terminal (wc -L counts by wcwidth), and read back without the
# flag the table keeps that count.
narrow=$(printf '○①\tα\n※─\t表\n' | "$filter" --rules box --title 表α --ambiguous narrow)
widths=$(while IFS= read -r line; do printf '%s' "$line" | LC_ALL=C.UTF-8 wc -L; done <<<"$narrow")
check "narrow box: one width in a terminal" 99 "$(sort -u <<<"$widths")"
check "narrow box: read back" "$narrow" "$(printf '%s\n' "$narrow" | "$filter")"

# Read and write errors: one line on stderr and status 1, never an abort.
io_cases=(
  "directory as input|Is a directory|cannot read standard input|<$samples"
  "--help into a full disk|No space left on device|cannot write standard output|--help >/dev/full"
  "--version into a closed output|Bad file descriptor|cannot write standard output|--version >&-"
  "table into a full disk|No space left on device|cannot write standard output|>/dev/full <$samples/spreadsheet.txt"
)
for case in "${io_cases[@]}"; do
  IFS='|' read -r name reason what redirections <<<"$case"
  err=$(eval "\"\$filter\" $redirections" 2>&1); status=$?
  check "$name: status" 1 "$status"
  check "$name: message" "tabulon-filter: $what: $reason" "$err"
done

exit $fail

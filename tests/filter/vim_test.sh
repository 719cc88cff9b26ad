#!/usr/bin/env bash
# The filter as an editor runs it: Vim replaces the lines it filters with
# what comes out. An indented "//" table with a cell typed over comes back in
# place, lined up again; so does a README's Markdown table inside a list; a
# column of names becomes a table; a CP932 buffer stays CP932, and a UTF-8
# buffer keeps 〜 é ✅ as they are; blank lines stay as they were.
set -euo pipefail
filter=$1 vim=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
run_vim() {  # range, file: filters the range through the filter and saves
  "$vim" -N -u NONE -i NONE -es -c "$1!$filter" -c 'wq' "$2" </dev/null || true
}

table() { "$filter" --rules box --title 価格表 | sed 's|^|    // |'; }
printf '品名\t数量\nりんご\t12\n' | table >"$work/table"
lines=$(wc -l <"$work/table")
{
  echo 'int main(void) {'
  sed 's|りんご|ぶどう酒|' "$work/table"  # two columns wider: the bars moved
  echo '  return 0;'
  echo '}'
} >"$work/code.c"
{
  echo 'int main(void) {'
  printf '品名\t数量\nぶどう酒\t12\n' | table
  echo '  return 0;'
  echo '}'
} >"$work/want.c"
run_vim "2,$((lines + 1))" "$work/code.c"
cmp -s "$work/code.c" "$work/want.c" || fail "the table in code:
$(diff "$work/want.c" "$work/code.c")"

readme() {  # the README around a table: its rows as arguments
  printf '%s\n' '# Prices' '' '- Fruit:' '' "$@" '' 'Done.'
}
readme '  | 品名 | 数量 |' '  |---|--:|' '  | りんご | 12 |' '  | ぶどう酒 | 3 |' >"$work/README.md"
readme '  | 品名     | 数量 |' '  | -------- | ---: |' '  | りんご   |   12 |' '  | ぶどう酒 |    3 |' \
  >"$work/want.md"
run_vim '5,8' "$work/README.md"
cmp -s "$work/README.md" "$work/want.md" || fail "a Markdown table in a list:
$(diff "$work/want.md" "$work/README.md")"

printf 'Alice\nBob\nCarol\n' >"$work/names"
run_vim '%' "$work/names"
printf 'Alice\nBob\nCarol\n' | "$filter" >"$work/want"
cmp -s "$work/names" "$work/want" || fail "a column of names:
$(cat "$work/names")"

# A buffer kept in CP932 goes through as CP932, with no flag.
printf '品名\t数量\nりんご\t12\n' | iconv -f UTF-8 -t CP932 >"$work/cp932"
run_vim '%' "$work/cp932"
iconv -f CP932 -t UTF-8 <"$work/cp932" | grep -q '|  2|りんご|  12|' ||
  fail "a CP932 buffer: $(iconv -f CP932 -t UTF-8 <"$work/cp932" 2>&1)"

# A UTF-8 buffer keeps characters CP932 has only a twin of (〜) or none.
printf '〜\té\n✅\tx\n' >"$work/utf8"
LC_ALL=C.UTF-8 run_vim '%' "$work/utf8"
for row in '|  1|〜|é |' '|  2|✅|x |'; do
  grep -qF "$row" "$work/utf8" || fail "a UTF-8 buffer: $(cat "$work/utf8")"
done

printf 'keep\n\n  \n\nthis\n' >"$work/blank"
cp "$work/blank" "$work/want"
run_vim '2,4' "$work/blank"
cmp -s "$work/blank" "$work/want" || fail "blank lines changed:
$(od -c "$work/blank")"
echo ok

#!/usr/bin/env bash
# The manual page of tabulon-filter tells of the same options and values as
# its --help, and groff reads it without a warning.
set -u
filter=$1 page=$2
fail=0
warnings=$(groff -Tutf8 -K utf8 -t -man -ww -z "$page" 2>&1)
[ -z "$warnings" ] || { printf 'FAIL: groff warns:\n%s\n' "$warnings"; fail=1; }

# The page as it reads: one long line a paragraph, no hyphenation, no marks.
page_text=$(groff -Tutf8 -K utf8 -t -man -rLL=300n -rHY=0 -P -cbou "$page" 2>/dev/null)
help_text=$("$filter" --help)
options() { grep -oE -- '--[a-z][a-z0-9-]*' | sort -u; }
if ! difference=$(diff <(options <<<"$help_text") <(options <<<"$page_text")); then
  printf 'FAIL: options differ (< --help, > the page):\n%s\n' "$difference"
  fail=1
fi
for values in $(grep -oE -- '--[a-z-]+ [a-z0-9-]+(\|[a-z0-9-]+)+' <<<"$help_text" | tr ' ' '='); do
  grep -qF -- "${values/=/ }" <<<"$page_text" || { echo "FAIL: the page lacks ${values/=/ }"; fail=1; }
done
exit $fail

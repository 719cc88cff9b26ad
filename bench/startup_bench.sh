#!/usr/bin/env bash
# Start-up of tabulon to its first painted window, with a full table on the
# clipboard, against a bare Qt window of the same toolkit (the floor), and
# with the same cells as an HTML table against them as TAB text: the
# median of several runs and the peak memory of each, and their ratios.
# Needs an X server: run it under xvfb-run.
#
#   xvfb-run -a bench/startup_bench.sh [BIN_DIR [RUNS]]
set -euo pipefail
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-$here/../build/bin}
runs=${2:-15}

# A full grid's table, 256 rows and as many columns as 99 columns take, box
# rules with every heading, held on the clipboard by xclip.
"$bin/tabulon_bench_text" 256 35 | "$bin/tabulon-filter" --rules box --title 売上表 |
  xclip -selection clipboard -i

rss_file=$(mktemp)
trap 'rm -f "$rss_file"' EXIT
measure() {  # prints "milliseconds kilobytes" for one run of "$@"
  local start end
  start=$EPOCHREALTIME
  TABULON_QUIT_AFTER_FIRST_PAINT=1 timeout 20 /usr/bin/time -o "$rss_file" -f '%M' "$@" \
    >/dev/null 2>&1
  end=$EPOCHREALTIME
  echo "$(( (${end/./} - ${start/./}) / 1000 )) $(tail -n1 "$rss_file")"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

run() {  # label, command...
  local label=$1 times=() mems=()
  shift
  measure "$@" >/dev/null  # warm the caches once
  for _ in $(seq "$runs"); do
    read -r ms kb < <(measure "$@")
    times+=("$ms")
    mems+=("$kb")
  done
  local t m
  t=$(printf '%s\n' "${times[@]}" | median)
  m=$(printf '%s\n' "${mems[@]}" | median)
  printf '%-10s median %6s ms   peak RSS %7s KiB\n' "$label" "$t" "$m" >&2
  echo "$t $m"
}

echo "start-up to the first painted window, $runs runs each" >&2
read -r ft fm < <(run floor "$bin/tabulon_qt_floor")
read -r lt lm < <(run "floor+text" "$bin/tabulon_qt_floor" --text)
read -r tt tm < <(run tabulon "$bin/tabulon")
awk -v a="$tt" -v b="$ft" -v c="$tm" -v d="$fm" -v e="$lt" -v f="$lm" 'BEGIN {
  printf "tabulon / floor        time %.2f   memory %.2f\n", a / b, c / d
  printf "tabulon / floor+text   time %.2f   memory %.2f\n", a / e, c / f }'

# The same full grid's cells as a spreadsheet offers them: TAB text alone,
# and an HTML table beside that text (read instead of it), the latter held by
# the test suite's clipboard owner.
if [ -x "$bin/tabulon_test_forms_owner" ]; then
  cells=$(mktemp) html=$(mktemp)
  trap 'rm -f "$rss_file" "$cells" "$html"; [ -z "${owner:-}" ] || kill "$owner" 2>/dev/null' EXIT
  "$bin/tabulon_bench_text" 256 35 >"$cells"
  awk -F'\t' 'BEGIN { print "<table>" }
    { printf "<tr>"; for (i = 1; i <= NF; i++) printf "<td>%s</td>", $i; print "</tr>" }
    END { print "</table>" }' "$cells" >"$html"
  xclip -selection clipboard -i <"$cells"
  read -r pt pm < <(run "tab text" "$bin/tabulon")
  "$bin/tabulon_test_forms_owner" "UTF8_STRING=$cells" "text/html=$html" >/dev/null &
  owner=$!
  sleep 0.3
  read -r ht hm < <(run "HTML" "$bin/tabulon")
  awk -v a="$ht" -v b="$pt" -v c="$hm" -v d="$pm" 'BEGIN {
    printf "HTML / tab text        time %.2f   memory %.2f\n", a / b, c / d }'
fi

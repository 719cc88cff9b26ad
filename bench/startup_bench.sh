#!/usr/bin/env bash
# Start-up of tabulon to its first painted window, with a full table on the
# clipboard, against a bare Qt window of the same toolkit (the floor): the
# median of several runs and the peak memory of each, and their ratios.
# Needs an X server: run it under xvfb-run.
#
#   xvfb-run -a bench/startup_bench.sh [BIN_DIR [RUNS]]
set -euo pipefail
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-$here/../build/bin}
runs=${2:-15}

# A full grid's table, 256 rows and as many columns as 99 bytes take, box
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

#!/usr/bin/env bash
# From "Ｏ Ｋ" to the end of the program, with a full table, and the memory of
# the clipboard holder left behind. Needs an X server: run it under xvfb-run.
#
#   xvfb-run -a bench/preview_exit_bench.sh [BIN_DIR [RUNS]]
set -euo pipefail
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-$here/../build/bin}
runs=${2:-10}
table=$(mktemp)
trap 'rm -f "$table"' EXIT  # the holders end with the X server
"$bin/tabulon_bench_text" 256 35 | "$bin/tabulon-filter" --rules box --title 売上表 >"$table"

# wait_window and holders, as the end-to-end tests use them.
source "$here/../tests/e2e/lib.sh"

times=()
for _ in $(seq "$runs"); do
  xclip -selection clipboard -i <"$table"
  "$bin/tabulon" 2>/dev/null &
  pid=$!
  main=$(wait_window Tabulon)
  xdotool windowfocus --sync "$main" key Return
  preview=$(wait_window プレビュー)
  # From the memo, where the preview opens, to "Ｏ Ｋ".
  xdotool windowfocus --sync "$preview" key ctrl+Tab Tab
  start=$EPOCHREALTIME
  xdotool key Return
  while kill -0 "$pid" 2>/dev/null; do sleep 0.002; done
  end=$EPOCHREALTIME
  times+=($(( (${end/./} - ${start/./}) / 1000 )))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "Ｏ Ｋ to program end: median $median ms over $runs runs (${times[*]})"
holder=$(holders | tail -n1)
if [ -z "$holder" ]; then
  echo "clipboard holder: none stays, a clipboard manager has the table"
  exit 0
fi
rss=$(awk '/VmRSS/ {print $2}' "/proc/$holder/status")
pss=$(awk '/^Pss:/ {print $2}' "/proc/$holder/smaps_rollup")
anon=$(awk '/^Anonymous:/ {n += $2} END {print n}' "/proc/$holder/smaps_rollup")
# Most of the resident size is the toolkit's shared libraries; the holder's
# own memory is the anonymous part.
echo "clipboard holder: $rss KiB resident ($pss KiB proportional, $anon KiB its own)," \
  "holding $(wc -c <"$table") bytes"

#!/usr/bin/env bash
# Start-up and loading under inputs a desktop can produce, against a bare Qt
# window of the same toolkit (the floor): time to the first painted window
# and peak memory with a 10 MB one-cell clipboard and with a clipboard owner
# that never answers; and a 16 MiB one-cell file loaded in the preview, from
# the open dialog's Return until the window has answered a click, with the
# program's peak memory. Medians of a few runs. Needs an X server, xclip and
# xdotool: run it under xvfb-run.
#
#   xvfb-run -a bench/hostile_start_bench.sh [BIN_DIR [RUNS]]
set -euo pipefail
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-$here/../build/bin}
runs=${2:-5}
tabulon=$bin/tabulon
work=$(mktemp -d)
pid= owner_pid=
trap 'kill $pid $owner_pid 2>/dev/null || true; rm -rf "$work"' EXIT
source "$here/../tests/e2e/lib.sh"

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }
ms_since() { echo $(( (${EPOCHREALTIME/./} - ${1/./}) / 1000 )); }

first_paint() {  # label, command...: the median time and peak memory
  local label=$1 times=() mems=() start
  shift
  for _ in $(seq "$runs"); do
    start=$EPOCHREALTIME
    TABULON_QUIT_AFTER_FIRST_PAINT=1 timeout 60 /usr/bin/time -o "$work/rss" -f '%M' "$@" \
      >/dev/null 2>&1 || true
    times+=("$(ms_since "$start")")
    mems+=("$(tail -n1 "$work/rss")")
  done
  printf '%-34s %6s ms  peak %7s KiB\n' "$label" "$(printf '%s\n' "${times[@]}" | median)" \
    "$(printf '%s\n' "${mems[@]}" | median)"
}

# One cell of n bytes: a first row of that cell and "y", and a second row.
one_cell() { head -c "$1" /dev/zero | tr '\0' x; printf '\ty\r\nz\tw\r\n'; }

first_paint "floor (bare Qt window)" "$bin/tabulon_qt_floor"
printf 'a\tb\r\nc\td\r\n' | xclip -selection clipboard -i
first_paint "tabulon, 2 x 2 cells" "$tabulon"
one_cell 10000000 | xclip -selection clipboard -i
for _ in $(seq 100); do [ "$(xclip -selection clipboard -o | wc -c)" -gt 10000000 ] && break; sleep 0.1; done
first_paint "floor with a line of Japanese text" "$bin/tabulon_qt_floor" --text
first_paint "tabulon, one 10 MB cell" "$tabulon"

: >"$work/owner"
"$bin/tabulon_test_silent_owner" >"$work/owner" &
owner_pid=$!
for _ in $(seq 50); do grep -q ready "$work/owner" && break; sleep 0.1; done
first_paint "tabulon, silent clipboard owner" "$tabulon"
kill "$owner_pid"
owner_pid=

# A file loaded in the preview: from Return in the open dialog until the
# window has answered a click on "戻る", and the program's peak memory.
load() {  # label, file
  local times=() mems=() start
  printf 'a\tb\r\nc\td\r\n' | xclip -selection clipboard -i
  for _ in $(seq "$runs"); do
    "$tabulon" 2>/dev/null &
    pid=$!
    sleep 0.3  # the windows of the runs before may still be listed
    main=$(wait_window Tabulon)
    xdotool windowfocus --sync "$main" key Return
    preview=$(wait_window 'プレビュー')
    click "$preview" 660 428  # "読込む"
    dialog=$(wait_window '開く')
    xdotool windowfocus --sync "$dialog" type --delay 2 "$2"
    start=$EPOCHREALTIME
    xdotool key Return
    wait_gone '開く'
    click "$preview" 660 51  # "戻る", answered once the load is done
    for _ in $(seq 600); do xdotool search --onlyvisible --name 'プレビュー' >/dev/null 2>&1 || break; sleep 0.05; done
    times+=("$(ms_since "$start")")
    mems+=("$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")")
    click "$main" 517 328  # "閉じる"
    wait_exit "$pid" || kill "$pid"
    pid=
  done
  printf '%-34s %6s ms  peak %7s KiB\n' "$1" "$(printf '%s\n' "${times[@]}" | median)" \
    "$(printf '%s\n' "${mems[@]}" | median)"
}
printf 'a\tb\r\nc\td\r\n' >"$work/small.TXT"
load "tabulon, 2 x 2 cell file load" "$work/small.TXT"
one_cell $((16 * 1024 * 1024 - 12)) >"$work/big.TXT"
load "tabulon, 16 MiB one-cell file load" "$work/big.TXT"

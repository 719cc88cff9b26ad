#!/usr/bin/env bash
# What a desktop can throw at the program: a clipboard owner that never
# answers costs about two seconds, and the window then says, in one line on
# stderr, that it starts empty; a FIFO chosen in the open dialog is refused
# with a message at once and the program stays usable. Each case runs
# several times. Run under xvfb-run.
set -euo pipefail
tabulon=$1 filter=$2 owner=$3 rounds=${4:-3}
work=$(mktemp -d)
export LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work
pid= owner_pid=
trap 'kill $pid $owner_pid 2>/dev/null || true; rm -rf "$work"' EXIT
source "$(dirname "$0")/lib.sh"

for round in $(seq "$rounds"); do
  "$owner" >"$work/owner" &
  owner_pid=$!
  for _ in $(seq 50); do grep -q ready "$work/owner" && break; sleep 0.1; done
  start=$EPOCHREALTIME
  "$tabulon" 2>"$work/stderr" &
  pid=$!
  main=$(wait_window Tabulon) || fail "round $round: no window with a silent owner"
  took=$(( (${EPOCHREALTIME/./} - ${start/./}) / 1000 ))
  # The toolkit alone waited 5 s for each of three requests.
  [ "$took" -lt 5000 ] || fail "round $round: the window took $took ms"
  grep -q 'did not answer' "$work/stderr" || fail "round $round: no word on stderr: $(cat "$work/stderr")"
  [ "$(wc -l <"$work/stderr")" -eq 1 ] || fail "round $round: more than one line: $(cat "$work/stderr")"
  kill "$owner_pid"
  wait "$owner_pid" 2>/dev/null || true
  owner_pid=
  click "$main" 517 328  # "閉じる"
  wait_exit "$pid" || fail "round $round: the program did not end after 閉じる"
  echo "silent owner, round $round: ok (window after $took ms)"
done

mkfifo "$work/cells.TXT"
printf 'a\tb\nc\td\n' | xclip -selection clipboard -i
for round in $(seq "$rounds"); do
  open_preview
  click "$preview" 660 428  # "読込む"
  dialog=$(wait_window '開く') || fail "round $round: no open dialog"
  xdotool windowfocus --sync "$dialog"
  xdotool type --delay 5 "$work/cells.TXT"
  xdotool key Return
  wait_gone '開く' || fail "round $round: the open dialog stayed"
  box=$(wait_window '^Tabulon$') || fail "round $round: no message for the FIFO"
  xdotool windowfocus --sync "$box" key Return
  wait_gone '^Tabulon$' || fail "round $round: the message stayed"
  click "$preview" 660 51  # "戻る": the window still answers
  wait_gone 'プレビュー' || fail "round $round: 戻る did not close the preview"
  click "$main" 517 328    # "閉じる"
  wait_exit "$pid" || fail "round $round: the program did not end after 閉じる"
  echo "FIFO, round $round: ok"
done
echo ok

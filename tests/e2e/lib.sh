# Shared by the end-to-end scripts: waiting for windows and processes, and
# clicking at client coordinates, under an X server without a window manager.

fail() { echo "FAIL: $*" >&2; exit 1; }

wait_window() {  # title: prints the id of the visible window of that title
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) && [ -n "$id" ] && {
      echo "$id"
      return 0
    }
    sleep 0.1
  done
  return 1
}

wait_gone() {  # title: waits until no visible window has that title
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }  # window, x, y

wait_exit() {  # pid: waits up to 5 s for the process to end
  for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}

# Starts tabulon on the clipboard's text: sets pid and main.
start_tabulon() {
  "$tabulon" 2>/dev/null &
  pid=$!
  main=$(wait_window 'Tabulon') || fail "the main window did not come up"
}

# Presses Return ("作成する") in the main window: sets preview.
create_preview() {
  xdotool windowfocus --sync "$main"
  xdotool key Return
  preview=$(wait_window 'プレビュー') || fail "Return did not open the preview"
}

open_preview() { start_tabulon; create_preview; }

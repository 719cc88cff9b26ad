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

wait_exit() {  # pid [seconds]: waits up to 5 s, or as long as asked, for the process to end
  for _ in $(seq $((${2:-5} * 10))); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
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

# The clipboard holders on this X server, one process id a line; holders of
# another display (the desktop the suite may run on) are not counted. They
# end by themselves when the X server ends.
holders() {
  local p
  for p in $(pgrep -fx -- 'tabulon --hold-clipboard'); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qxF "DISPLAY=$DISPLAY" && echo "$p"
  done
  return 0
}

wait_holders() {  # n: waits up to 5 s until exactly n holders run
  for _ in $(seq 50); do [ "$(holders | wc -l)" -eq "$1" ] && return 0; sleep 0.1; done
  return 1
}

# The clipboard must hold exactly the bytes of file $2 ($1 names the case).
clipboard_is() {
  xclip -selection clipboard -o >"$work/got"
  cmp -s "$work/got" "$2" || fail "$1: clipboard differs
$(diff <(od -c "$2") <(od -c "$work/got") | head -20)"
}

# Starts weston with Xwayland in a window of the present X server (its X11
# backend has a seat, which its headless backend lacks), with its own runtime
# folder under $1. Sets weston_pid, WAYLAND_DISPLAY and xwayland (the
# display Xwayland listens on) and exports XDG_RUNTIME_DIR; the caller ends
# weston by weston_pid.
start_weston() {
  export XDG_RUNTIME_DIR=$1
  chmod 700 "$XDG_RUNTIME_DIR"
  weston --backend=x11-backend.so --xwayland --socket=tabulon-test --width=1000 --height=700 \
    >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
  weston_pid=$!
  for _ in $(seq 100); do
    grep -qs 'xserver listening on display' "$XDG_RUNTIME_DIR/weston.log" && break
    sleep 0.1
  done
  xwayland=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$XDG_RUNTIME_DIR/weston.log")
  [ -n "$xwayland" ] || fail "weston offers no Xwayland: $(tail -n 5 "$XDG_RUNTIME_DIR/weston.log")"
  export WAYLAND_DISPLAY=tabulon-test
  for _ in $(seq 100); do
    wl-paste --list-types 2>&1 | grep -q 'Failed to connect' || return 0
    sleep 0.1
  done
  fail "weston takes no Wayland clients"
}

# Starts the test's clipboard manager (the program $manager, with the given
# arguments) and waits until it says it is the manager; sets manager_pid.
start_manager() {
  "$manager" "$@" >"$work/manager.out" 2>&1 &
  manager_pid=$!
  for _ in $(seq 50); do
    [ "$(head -n 1 "$work/manager.out" 2>/dev/null)" = ready ] && return 0
    kill -0 "$manager_pid" 2>/dev/null || break
    sleep 0.1
  done
  local status=0
  kill "$manager_pid" 2>/dev/null || wait "$manager_pid" || status=$?
  echo "the manager did not start (status $status): $(cat "$work/manager.out")" >&2
  return 1
}

wait_focus() {  # window id: waits until that window has the keyboard focus
  for _ in $(seq 100); do [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0; sleep 0.05; done
  return 1
}

# The program's visible windows and menus (menus carry no WM_NAME for
# `search --name`; the class finds them).
visible() { xdotool search --onlyvisible --class tabulon 2>/dev/null | wc -l; }

open_menu() {  # right press and release at x,y of the main window; a menu must come up
  xdotool mousemove --window "$main" "$1" "$2" click 3
  for _ in $(seq 50); do [ "$(visible)" -ge 2 ] && return; sleep 0.1; done
  fail "no menu at $1,$2"
}

choose() {  # keys to the open menu, which must then close
  xdotool key "$@"
  for _ in $(seq 50); do [ "$(visible)" -eq 1 ] && return; sleep 0.1; done
  fail "the menu stayed open after $*"
}

# The processes of user $1 with HOME=$2 in their environment: what a test ran
# under a home of its own, including what has left its parent (a session
# bus, an input method's server).
with_home() {
  local p
  for p in $(pgrep -u "$1"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qxF "HOME=$2" && echo "$p"
  done
  return 0
}
# Whether a process has ended: gone, or a zombie nobody reaps.
ended() { ! ps -o stat= -p "$1" 2>/dev/null | grep -qv Z; }
# Ends the processes given by id, each within 5 s, or by force.
end_all() {
  local p
  for p in "$@"; do kill "$p" 2>/dev/null || true; done
  for p in "$@"; do
    for _ in $(seq 50); do ended "$p" && break; sleep 0.1; done
    ended "$p" || kill -9 "$p" 2>/dev/null || true
  done
}

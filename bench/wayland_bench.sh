#!/usr/bin/env bash
# Start-up and "Ｏ Ｋ" to program end on a Wayland session (weston with
# Xwayland, which Tabulon goes through there) against the same on the plain X
# server of the same run: the start-up and exit benchmarks, run on each.
# Needs an X server: run it under xvfb-run.
#
#   xvfb-run -a -s "-screen 0 1280x1024x24" bench/wayland_bench.sh [BIN_DIR [RUNS]]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-$here/../build/bin}
runs=${2:-10}
work=$(mktemp -d)
weston_pid=
trap '[ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
source "$here/../tests/e2e/lib.sh"

echo "== X server $DISPLAY"
bash "$here/startup_bench.sh" "$bin" "$runs" 2>&1
bash "$here/preview_exit_bench.sh" "$bin" "$runs"
start_weston "$work"
echo "== Wayland session: weston, Xwayland on $xwayland"
export DISPLAY=$xwayland XDG_SESSION_TYPE=wayland
bash "$here/startup_bench.sh" "$bin" "$runs" 2>&1
bash "$here/preview_exit_bench.sh" "$bin" "$runs"

#!/usr/bin/env bash
# Times whole tabulon-filter runs, process start included, on the tab text of
# a full grid (256 rows x 35 fields, mixed UTF-8), and compares the median
# with the floor: a bare C++ program that reads the same text and writes it
# padded. Also times a ~10 MB text and a ~100 MB one (against cat, which
# only reads it), and prints the peak memory of one run of each.
#
#   bench/filter_process_bench.sh [BIN_DIR [RUNS]]
#
# BIN_DIR holds tabulon-filter, tabulon_floor and tabulon_bench_text
# (default: build/bin); RUNS is the number of timed runs of each (default 30).
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-$here/../build/bin}
runs=${2:-30}
filter=$bin/tabulon-filter
floor=$bin/tabulon_floor
gen=$bin/tabulon_bench_text
for p in "$filter" "$floor" "$gen"; do
  [[ -x $p ]] || { echo "missing $p: build with -DTABULON_BENCH=ON" >&2; exit 2; }
done
filter_args=(--title Plan --rules box)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$gen" 256 35 >"$work/grid.txt"
"$gen" 130000 60 92 6 >"$work/large.txt"

# Microseconds since the epoch, without starting a process when bash has
# EPOCHREALTIME (5.0 and later).
if [[ -n ${EPOCHREALTIME:-} ]]; then
  now_us() { local t=$EPOCHREALTIME; REPLY=$((10#${t/[.,]/})); }
else
  now_us() { REPLY=$(($(date +%s%N) / 1000)); }
fi

# median_us N INPUT CMD...: runs CMD N times on INPUT, prints the median in
# microseconds. Fails if any run fails or writes nothing.
median_us() {
  local n=$1 input=$2
  shift 2
  local times=() t0 i
  "$@" <"$input" >"$work/out" 2>/dev/null  # warm the page cache
  [[ -s $work/out ]] || { echo "no output from $*" >&2; return 1; }
  for ((i = 0; i < n; i++)); do
    now_us; t0=$REPLY
    "$@" <"$input" >/dev/null 2>&1 || { echo "$* failed" >&2; return 1; }
    now_us; times+=($((REPLY - t0)))
  done
  mapfile -t times < <(printf '%s\n' "${times[@]}" | sort -n)
  if ((n % 2)); then
    echo "${times[n / 2]}"
  else
    echo $(((times[n / 2 - 1] + times[n / 2]) / 2))
  fi
}

ms() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }

# Peak resident set size of one run, in KiB, or "n/a".
peak_kib() {
  local input=$1
  shift
  if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -f '%M' -o "$work/rss" "$@" <"$input" >/dev/null 2>/dev/null
    cat "$work/rss"
  else
    echo n/a
  fi
}

bytes() { wc -c <"$1" | tr -d ' '; }

echo "full grid: 256 lines x 35 fields, $(bytes "$work/grid.txt") bytes UTF-8; $runs runs each"
f=$(median_us "$runs" "$work/grid.txt" "$filter" "${filter_args[@]}")
b=$(median_us "$runs" "$work/grid.txt" "$floor")
v=$(median_us "$runs" /dev/null "$filter" --version)
echo "  tabulon-filter ${filter_args[*]}  median $(ms "$f") ms"
echo "  tabulon-filter --version (start only)   median $(ms "$v") ms"
echo "  floor (tabulon_floor)                   median $(ms "$b") ms"
ratio=$(awk -v a="$f" -v b="$b" 'BEGIN { printf "%.2f", a / b }')
echo "  ratio filter/floor                      $ratio"
echo "  peak RSS: filter $(peak_kib "$work/grid.txt" "$filter" "${filter_args[@]}") KiB," \
  "floor $(peak_kib "$work/grid.txt" "$floor") KiB"

# Only 256 rows and 35 fields of this text fit the grid; the rest is left out.
# No floor here: padding every field would write ten times what was read.
large_runs=$(((runs + 5) / 6))
echo "large text: 130000 lines x 60 fields, mostly empty, $(bytes "$work/large.txt") bytes UTF-8;" \
  "$large_runs runs"
f=$(median_us "$large_runs" "$work/large.txt" "$filter" "${filter_args[@]}")
echo "  tabulon-filter ${filter_args[*]}  median $(ms "$f") ms"
echo "  peak RSS: filter $(peak_kib "$work/large.txt" "$filter" "${filter_args[@]}") KiB"

# About 100 MB: the filter keeps 256 rows, so its memory must not follow the
# input. cat reading the same text is the floor.
"$gen" 280000 35 0 12 >"$work/huge.txt"
huge_runs=$(((runs + 9) / 10))
echo "huge text: 280000 lines x 35 fields, $(bytes "$work/huge.txt") bytes UTF-8; $huge_runs runs"
f=$(median_us "$huge_runs" "$work/huge.txt" "$filter" "${filter_args[@]}")
c=$(median_us "$huge_runs" "$work/huge.txt" cat)
echo "  tabulon-filter ${filter_args[*]}  median $(ms "$f") ms"
echo "  cat                                     median $(ms "$c") ms"
echo "  peak RSS: filter $(peak_kib "$work/huge.txt" "$filter" "${filter_args[@]}") KiB," \
  "cat $(peak_kib "$work/huge.txt" cat) KiB"

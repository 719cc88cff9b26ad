#!/usr/bin/env bash
# Whole tabulon-filter runs, process start and exit included, against a bound:
# tabulon_filter_bound, a bare C++ program that reads the same text, keeps it
# in UTF-8, measures its fields' display columns as the filter does and writes
# a box table of the same size in UTF-8. Prints the medians of interleaved
# rounds and their ratio for a full grid (256 rows x 35 fields, mixed UTF-8)
# and a 5 x 4 one; then a ~10 MB text and a ~100 MB one (against cat, which
# only reads it, and wc -l, which also looks at every byte for line breaks),
# with the peak memory of each. The bound is also shown linked as the filter
# is (the C++ runtime linked in), which leaves the difference in the work
# each does.
#
#   bench/filter_process_bench.sh [BIN_DIR [ROUNDS [BOUND_DIR]]]
#
# BIN_DIR holds tabulon-filter (default: build/bin); BOUND_DIR the bounds,
# tabulon_process_timer and tabulon_bench_text (default: BIN_DIR), so that an
# older filter can be timed against the same bounds. ROUNDS is the number of
# timed rounds on the small inputs (default 101; the large ones take fewer).
# Aims: at most 1.10 x the bound on both grids; 100 MB within 3 x cat's time
# and under 30 MB.
set -euo pipefail
export LC_ALL=C

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-$here/../build/bin}
rounds=${2:-101}
tools=${3:-$bin}
filter=$bin/tabulon-filter
bound=$tools/tabulon_filter_bound
linked=$tools/tabulon_filter_bound_linked
timer=$tools/tabulon_process_timer
gen=$tools/tabulon_bench_text
for p in "$filter" "$bound" "$linked" "$timer" "$gen"; do
  [[ -x $p ]] || { echo "missing $p: build with -DTABULON_BENCH=ON" >&2; exit 2; }
done
filter_args=(--title Plan --rules box)
cat_bin=$(command -v cat)
wc_bin=$(command -v wc)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ms() { awk -v us="$1" 'BEGIN { printf "%.3f", us / 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
bytes() { wc -c <"$1" | tr -d ' '; }

# against_bound LABEL INPUT: the filter, the bounds and the filter's start
# alone, interleaved.
against_bound() {
  local label=$1 input=$2 f b l v
  {
    read -r f _ f_kib
    read -r b _ b_kib
    read -r l _ l_kib
    read -r v _ _
  } < <("$timer" "$rounds" "$input" "$filter" "${filter_args[@]}" -- "$bound" -- "$linked" -- \
    "$filter" --version)
  echo "$label: $(bytes "$input") bytes UTF-8; $rounds rounds"
  echo "  tabulon-filter ${filter_args[*]}  median $(ms "$f") ms, peak $f_kib KiB"
  echo "  bound (tabulon_filter_bound)            median $(ms "$b") ms, peak $b_kib KiB"
  echo "  bound, runtime linked in as the filter  median $(ms "$l") ms, peak $l_kib KiB"
  echo "  tabulon-filter --version (start only)   median $(ms "$v") ms"
  echo "  ratio filter/bound                      $(ratio "$f" "$b")  (aim <= 1.10)"
  echo "  ratio filter/bound linked in            $(ratio "$f" "$l")"
}

"$gen" 256 35 >"$work/grid.txt"
"$gen" 5 4 >"$work/small.txt"
against_bound "full grid, 256 lines x 35 fields" "$work/grid.txt"
against_bound "5 x 4 grid" "$work/small.txt"

# Only 256 rows and 35 fields of these texts fit the grid; the rest is
# measured and left out, so memory must not follow the input.
"$gen" 130000 60 92 6 >"$work/large.txt"
large_rounds=$(((rounds + 9) / 10))
read -r f _ f_kib < <("$timer" "$large_rounds" "$work/large.txt" "$filter" "${filter_args[@]}")
echo "large text: 130000 lines x 60 fields, mostly empty, $(bytes "$work/large.txt") bytes;" \
  "$large_rounds rounds"
echo "  tabulon-filter ${filter_args[*]}  median $(ms "$f") ms, peak $f_kib KiB"

"$gen" 280000 35 0 12 >"$work/huge.txt"
huge_rounds=$(((rounds + 19) / 20))
{
  read -r f _ f_kib
  read -r c _ c_kib
  read -r w _ w_kib
} < <("$timer" "$huge_rounds" "$work/huge.txt" "$filter" "${filter_args[@]}" -- "$cat_bin" -- \
  "$wc_bin" -l)
echo "huge text: 280000 lines x 35 fields, $(bytes "$work/huge.txt") bytes; $huge_rounds rounds"
echo "  tabulon-filter ${filter_args[*]}  median $(ms "$f") ms, peak $f_kib KiB"
echo "  cat                                     median $(ms "$c") ms, peak $c_kib KiB"
echo "  wc -l                                   median $(ms "$w") ms, peak $w_kib KiB"
echo "  ratio filter/cat                        $(ratio "$f" "$c")  (aim <= 3.00, peak < 30720 KiB)"

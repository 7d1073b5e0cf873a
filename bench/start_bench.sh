#!/usr/bin/env bash
# Start-up: from starting sonolift to its first painted window, against a
# minimal Qt window of the same size, both under a private Xvfb with openbox.
# Each program ends once it has painted (sonolift: SONOLIFT_QUIT_AFTER_FIRST_PAINT).
# Prints the medians of RUNS alternating runs and their ratio.
# Usage: bench/start_bench.sh [RUNS] [BIN_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
bin=${2:-build/bin}
[ -x "$bin/sonolift" ] && [ -x "$bin/minimal_window" ] || scripts/build.sh >/dev/null
work=$(mktemp -d)
. tests/e2e/xsession.sh
export QT_QPA_PLATFORM=xcb SONOLIFT_INI="$work/strings.ini"

now() { date +%s%N; }
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
run() { local t0; t0=$(now); "$@" >/dev/null 2>&1; echo $(( ($(now) - t0) / 1000 )); }

# One run of each first, unmeasured: fonts and libraries in the page cache.
SONOLIFT_QUIT_AFTER_FIRST_PAINT=1 "$bin/sonolift" >/dev/null 2>&1
"$bin/minimal_window" >/dev/null 2>&1
ours=() plain=()
for _ in $(seq "$runs"); do
  ours+=("$(SONOLIFT_QUIT_AFTER_FIRST_PAINT=1 run "$bin/sonolift")")
  plain+=("$(run "$bin/minimal_window")")
done
a=$(printf '%s\n' "${ours[@]}" | median)
b=$(printf '%s\n' "${plain[@]}" | median)
echo "sonolift to first paint: ${a} us (median of $runs)"
echo "minimal Qt window:       ${b} us"
awk -v a="$a" -v b="$b" 'BEGIN {printf "ratio: %.2f\n", a / b}'

#!/bin/bash
# Times the p-value step of a basic run (ixo_cli ixo, dimensions 2..10, the
# default grid, R = 999) with all R permutations beside the sequential rule
# (--sequential H, default 10), on i.i.d. normal series made by
# tools/make_series with seeds 1 .. SERIES (default 3). For each n: the median
# over the series of the median wall and CPU seconds over RUNS runs (default
# 1), side by side (multiplicity_check sequential counts the permutations
# drawn). THREADS (default 0: one per core) goes to --threads. WINDOW=1 runs
# ixo_cli with the window's own words instead (the series as input.tmp, the
# settings given in full, progress.tmp, CSV written to pvalues.tmp).
# Usage: bash bench/sequential_bench.sh [n ...]   (default 2500 10000)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin=${IXO_BIN:-$top/build/bin}
runs=${RUNS:-1}
series=${SERIES:-3}
threads=${THREADS:-0}
h=${H:-10}
input=series.txt
words=()
if [ "${WINDOW:-0}" = 1 ]; then
  input=input.tmp
  words=(--m 10 --eps 0.60:1.90 --progress-file progress.tmp --output pvalues.tmp --format csv)
fi
sizes=("$@")
((${#sizes[@]})) || sizes=(2500 10000)

if [ ! -x "$bin/ixo_cli" ] || [ ! -x "$bin/make_series" ]; then
  cmake --build build --target ixo_cli make_series >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$top/bench/timing.sh"
require_time sequential_bench
cd "$work"

echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load average $(cut -d' ' -f1-3 /proc/loadavg), $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "median over $series series of the median wall and CPU seconds over $runs runs"
printf '%-6s | %-17s | %-17s\n' "" "--reps 999" "--sequential $h"
printf '%-6s | %8s %8s | %8s %8s\n' "n" "wall s" "CPU s" "wall s" "CPU s"
for n in "${sizes[@]}"; do
  : >fixed_wall
  : >fixed_cpu
  : >seq_wall
  : >seq_cpu
  for ((s = 1; s <= series; s++)); do
    "$bin/make_series" normal "$n" "$s" >"$input"
    read -r w c _ < <(measure "$runs" timed "$bin/ixo_cli" ixo "$input" --reps 999 --threads "$threads" "${words[@]}")
    echo "$w" >>fixed_wall
    echo "$c" >>fixed_cpu
    read -r w c _ < <(measure "$runs" timed "$bin/ixo_cli" ixo "$input" --reps 999 --sequential "$h" --threads "$threads" "${words[@]}")
    echo "$w" >>seq_wall
    echo "$c" >>seq_cpu
  done
  printf '%-6s | %8s %8s | %8s %8s\n' "$n" "$(median <fixed_wall)" "$(median <fixed_cpu)" \
    "$(median <seq_wall)" "$(median <seq_cpu)"
done

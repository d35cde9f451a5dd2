#!/usr/bin/env bash
# Times ixo_cli as a whole process on i.i.d. normal series (made by
# tools/make_series) beside one engine run of the same series:
#   - ixo_cli ixo series.txt --reps 999 (dimensions 2..10, 0.60..1.90 sd, 41
#     grid points: the series and 999 permutations);
#   - ixo_engine series.txt 10 0.60 1.90 40 50 (the same values, computed once);
#   - ixo_cli critical --n 500 --reps 20000 (20000 simulated series).
# Wall and CPU (user + system) seconds are medians over the runs (RUNS, default
# 3; RUNS_LARGE, default 1, for n = 10000), peak memory the largest maximum
# resident set (/usr/bin/time). THREADS (default 0: one per core) goes to
# --threads. Builds into build/ first when the programs are missing.
# Usage: bash bench/ixo_cli_bench.sh [n ...]   (default 500 1000 2500 10000)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin=${IXO_BIN:-$top/build/bin}
runs=${RUNS:-3}
runs_large=${RUNS_LARGE:-1}
threads=${THREADS:-0}
sizes=("$@")
((${#sizes[@]})) || sizes=(500 1000 2500 10000)

if [ ! -x "$bin/ixo_cli" ] || [ ! -x "$bin/ixo_engine" ] || [ ! -x "$bin/make_series" ]; then
  cmake --build build --target ixo_cli ixo_engine make_series >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$top/bench/timing.sh"
require_time ixo_cli_bench
cd "$work"

echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load average $(cut -d' ' -f1-3 /proc/loadavg), $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "median wall and CPU (user + system) seconds; peak resident memory"
printf '%-6s | %-26s | %-26s | %s\n' "" "ixo_cli ixo --reps 999" "ixo_engine, one run" ""
printf '%-6s | %8s %8s %8s | %8s %8s %8s | %s\n' "n" "wall s" "CPU s" "MiB" "wall s" "CPU s" "MiB" "runs"
for n in "${sizes[@]}"; do
  "$bin/make_series" normal "$n" >series.txt
  repeat=$runs
  ((n < 10000)) || repeat=$runs_large
  read -r w0 c0 p0 < <(measure "$repeat" timed "$bin/ixo_cli" ixo series.txt --reps 999 --threads "$threads")
  read -r w1 c1 p1 < <(measure "$runs" timed "$bin/ixo_engine" series.txt 10 0.60 1.90 40 50)
  printf '%-6s | %8s %8s %8s | %8s %8s %8s | %s\n' "$n" "$w0" "$c0" "$p0" "$w1" "$c1" "$p1" "$repeat"
done
read -r w c p < <(measure "$runs" timed "$bin/ixo_cli" critical --n 500 --reps 20000 --threads "$threads")
printf 'critical --n 500 --reps 20000: %s s wall, %s s CPU, %s MiB (%s runs)\n' "$w" "$c" "$p" "$runs"

#!/usr/bin/env bash
# Times ixo_engine as a whole process on i.i.d. normal series (n = 1000, 2500,
# 10000, made by tools/make_series) and prints a table:
#   - write mode 0 with the defaults (ixo_engine series.txt: dimensions 2..10,
#     0.25..1.00 sd, 41 grid points);
#   - the default basic test: the nine write-mode-1 runs m = 2..10 with
#     0.60 1.90 40 50 1, one process after the other, as the front end starts them.
# Wall and CPU (user + system) times are medians over the runs (RUNS, default 5;
# RUNS_LARGE, default 3, for n = 10000); CPU time is the steadier figure on a
# busy machine. Peak memory is the largest maximum resident set of any one
# process (/usr/bin/time -f %M). Builds into build/ first when the programs are missing.
# IXO_BIN names another folder of built programs; IXO_ENGINE another engine
# binary to time (for instance an older build).
# Usage: bash bench/engine_baseline.sh [n ...]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin=${IXO_BIN:-$top/build/bin}
engine_bin=${IXO_ENGINE:-$bin/ixo_engine}
runs=${RUNS:-5}
runs_large=${RUNS_LARGE:-3}
sizes=("$@")
((${#sizes[@]})) || sizes=(1000 2500 10000)

if [ ! -x "$engine_bin" ] || [ ! -x "$bin/make_series" ]; then
  bash scripts/build.sh >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$top/bench/timing.sh"
require_time engine_baseline
cd "$work"

# Runs the engine once with the given arguments, under `timed`.
engine() { timed "$engine_bin" "$@"; }

mode0() { engine series.txt; }
basic() {
  for m in 2 3 4 5 6 7 8 9 10; do engine series.txt "$m" 0.60 1.90 40 50 1; done
}

echo "$engine_bin on $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "median wall and CPU (user + system) seconds over the runs; peak resident memory of any one process"
printf '%-6s | %-26s | %-26s | %s\n' "" "write mode 0, defaults" "basic test, 9 processes" ""
printf '%-6s | %8s %8s %8s | %8s %8s %8s | %s\n' "n" "wall s" "CPU s" "MiB" "wall s" "CPU s" "MiB" "runs"
for n in "${sizes[@]}"; do
  "$bin/make_series" normal "$n" >series.txt
  repeat=$runs
  ((n < 10000)) || repeat=$runs_large
  read -r w0 c0 p0 < <(measure "$repeat" mode0)
  read -r w1 c1 p1 < <(measure "$repeat" basic)
  printf '%-6s | %8s %8s %8s | %8s %8s %8s | %s\n' "$n" "$w0" "$c0" "$p0" "$w1" "$c1" "$p1" "$repeat"
done

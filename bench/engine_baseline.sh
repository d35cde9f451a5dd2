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
if [ ! -x /usr/bin/time ]; then
  echo "engine_baseline: /usr/bin/time is missing (bash scripts/setup.sh installs it)" >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

now() { date +%s%N; }

# Runs the engine once with the given arguments and discards its report;
# appends its peak RSS (KiB) and CPU seconds (user + system) to $work/usage.
engine() {
  /usr/bin/time -f "%M %U %S" -a -o "$work/usage" "$engine_bin" "$@" >/dev/null
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One figure: the median wall time and the median CPU time in seconds of
# `repeat` repetitions of "$@", and the peak memory in MiB over all of them.
measure() {
  local repeat=$1
  shift
  : >"$work/wall"
  : >"$work/cpu"
  : >"$work/peak"
  for ((i = 0; i < repeat; i++)); do
    : >"$work/usage"
    local start
    start=$(now)
    "$@"
    echo $(($(now) - start)) >>"$work/wall"
    awk '{ cpu += $2 + $3; if ($1 > peak) peak = $1 } END { print cpu; print peak >"'"$work/peak"'.1" }' \
      "$work/usage" >>"$work/cpu"
    cat "$work/peak.1" >>"$work/peak"
  done
  local wall cpu peak
  wall=$(median <"$work/wall" | awk '{ printf "%.3f", $1 / 1e9 }')
  cpu=$(median <"$work/cpu" | awk '{ printf "%.2f", $1 }')
  peak=$(sort -n "$work/peak" | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }')
  echo "$wall $cpu $peak"
}

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

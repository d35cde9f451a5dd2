#!/usr/bin/env bash
# Times ixo_engine as a whole process on i.i.d. normal series (n = 1000, 2500,
# 10000, made by tools/make_series) and prints a table:
#   - write mode 0 with the defaults (ixo_engine series.txt: dimensions 2..10,
#     0.25..1.00 sd, 41 grid points);
#   - the default basic test: the nine write-mode-1 runs m = 2..10 with
#     0.60 1.90 40 50 1, one process after the other, as the front end starts them.
# Wall time is the median over the runs (RUNS, default 5; RUNS_LARGE, default 3,
# for n = 10000); peak memory is the largest maximum resident set of any process
# (/usr/bin/time -f %M). Builds into build/ first when the programs are missing.
# Usage: bash bench/engine_baseline.sh [n ...]
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin=${IXO_BIN:-$top/build/bin}
runs=${RUNS:-5}
runs_large=${RUNS_LARGE:-3}
sizes=("$@")
((${#sizes[@]})) || sizes=(1000 2500 10000)

if [ ! -x "$bin/ixo_engine" ] || [ ! -x "$bin/make_series" ]; then
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

# Runs the engine once with the given arguments; appends its peak RSS (KiB) to
# $work/rss and discards its report.
engine() {
  /usr/bin/time -f %M -a -o "$work/rss" "$bin/ixo_engine" "$@" >/dev/null
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One figure: the median wall time in seconds of `runs` repetitions of "$@",
# and the peak memory in MiB over all of them.
measure() {
  local repeat=$1
  shift
  : >"$work/rss"
  : >"$work/wall"
  for ((i = 0; i < repeat; i++)); do
    local start
    start=$(now)
    "$@"
    echo $(($(now) - start)) >>"$work/wall"
  done
  local wall peak
  wall=$(median <"$work/wall" | awk '{ printf "%.3f", $1 / 1e9 }')
  peak=$(sort -n "$work/rss" | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }')
  echo "$wall $peak"
}

mode0() { engine series.txt; }
basic() {
  for m in 2 3 4 5 6 7 8 9 10; do engine series.txt "$m" 0.60 1.90 40 50 1; done
}

echo "ixo_engine baseline: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
printf '%-7s | %-28s | %-28s | %s\n' "n" "write mode 0, defaults" "basic test, 9 processes" "runs"
printf '%-7s | %-28s | %-28s | %s\n' "" "median s    peak MiB" "median s    peak MiB" ""
for n in "${sizes[@]}"; do
  "$bin/make_series" normal "$n" >series.txt
  repeat=$runs
  ((n < 10000)) || repeat=$runs_large
  read -r w0 p0 < <(measure "$repeat" mode0)
  read -r w1 p1 < <(measure "$repeat" basic)
  printf '%-7s | %-12s%-16s | %-12s%-16s | %s\n' "$n" "$w0" "$p0" "$w1" "$p1" "$repeat"
done

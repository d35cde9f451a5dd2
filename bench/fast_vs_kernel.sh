#!/usr/bin/env bash
# Times ixo_engine (pair counts) against ixo_engine_reference (one kernel call
# per grid point and dimension) as whole processes, side by side in one run, on
# i.i.d. normal series made by tools/make_series:
#   - basic: the default basic test, nine write-mode-1 processes m = 2..10 with
#     0.60 1.90 40 50 1, one after the other as the front end starts them;
#   - mode 0: write mode 0 with the defaults (m = 10, 0.25..1.00 sd, 41 points).
# Both engines at n = 1000, 2500, 10000 (their reports are compared too, all but
# the run-time line); the pair counts alone at n = 20000, 50000, 100000.
# Wall time is the median over the runs (RUNS, default 5, for the pair counts,
# RUNS_LARGE, default 3, from n = 20000 on; REF_RUNS, default 3, for the kernel
# below n = 10000 and 1 from there on). One
# more run under /usr/bin/time gives the CPU time (user + system, summed over
# the processes; the steadier figure on a busy machine) and the peak memory
# (the largest maximum resident set of any process).
# Builds the three programs into build/ first when they are missing; IXO_BIN
# names another folder of built programs. SIDE_BY_SIDE and FAST_ONLY replace
# the lists of sizes. Fails when the two engines' reports differ.
# Usage: bash bench/fast_vs_kernel.sh
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin=${IXO_BIN:-$top/build/bin}
runs=${RUNS:-5}
runs_large=${RUNS_LARGE:-3}
ref_runs=${REF_RUNS:-3}
read -r -a side_by_side <<<"${SIDE_BY_SIDE-1000 2500 10000}"
read -r -a fast_only <<<"${FAST_ONLY-20000 50000 100000}"
status=0

if [ ! -x "$bin/ixo_engine" ] || [ ! -x "$bin/ixo_engine_reference" ] || [ ! -x "$bin/make_series" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build --parallel "$(nproc)" --target ixo_engine ixo_engine_reference make_series >/dev/null
  bin=$top/build/bin
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$top/bench/timing.sh"
require_time fast_vs_kernel
cd "$work"

# Runs one engine program once, its report appended to report. Under
# MEASURE_USAGE=1 it runs under /usr/bin/time, which appends its peak RSS (KiB)
# and CPU seconds to usage; the timed runs go without, so that only the engine
# is timed.
engine() {
  local program=$1
  shift
  if [ "${MEASURE_USAGE:-0}" = 1 ]; then
    /usr/bin/time -f '%M %U %S' -a -o "$work/usage" "$bin/$program" "$@" >>"$work/report"
  else
    "$bin/$program" "$@" >>"$work/report"
  fi
}

mode0() { engine "$1" series.txt; }
basic() {
  for m in 2 3 4 5 6 7 8 9 10; do engine "$1" series.txt "$m" 0.60 1.90 40 50 1; done
}

# measure <repeat> <job> <program>: prints the median wall time in seconds of
# `repeat` runs, then the CPU seconds and the peak memory in MiB of one more run
# under /usr/bin/time; leaves that run's report, without its run-time lines, in
# report.<program>.
measure() {
  local repeat=$1 job=$2 program=$3
  : >"$work/wall"
  for ((i = 0; i < repeat; i++)); do
    : >"$work/report"
    local start
    start=$(now)
    "$job" "$program"
    echo $(($(now) - start)) >>"$work/wall"
  done
  : >"$work/report"
  : >"$work/usage"
  MEASURE_USAGE=1 "$job" "$program"
  grep -v 'computation time' "$work/report" >"$work/report.$program"
  local wall cpu peak
  wall=$(median <"$work/wall" | awk '{ printf "%.3f", $1 / 1e9 }')
  cpu=$(awk '{ cpu += $2 + $3 } END { printf "%.2f", cpu }' "$work/usage")
  peak=$(awk '{ print $1 }' "$work/usage" | sort -n | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }')
  echo "$wall $cpu $peak"
}

echo "ixo_engine, pair counts against the kernel: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
line='%-7s | %-6s | %-8s %-7s %-6s | %-8s %-7s %-6s | %-6s | %s\n'
printf "$line" "n" "run" "counts" "" "" "kernel" "" "" "ratio" "reports"
printf "$line" "" "" "wall s" "cpu s" "MiB" "wall s" "cpu s" "MiB" "(wall)" ""
for n in "${side_by_side[@]}" "${fast_only[@]}"; do
  "$bin/make_series" normal "$n" >series.txt
  for job in basic mode0; do
    repeat=$runs
    ((n < 20000)) || repeat=$runs_large
    read -r fast_wall fast_cpu fast_peak < <(measure "$repeat" "$job" ixo_engine)
    if [[ " ${side_by_side[*]} " == *" $n "* ]]; then
      repeat=$ref_runs
      ((n < 10000)) || repeat=1  # plus the run under /usr/bin/time
      read -r ref_wall ref_cpu ref_peak < <(measure "$repeat" "$job" ixo_engine_reference)
      ratio=$(awk -v a="$ref_wall" -v b="$fast_wall" 'BEGIN { printf "%.0fx", (b > 0) ? a / b : 0 }')
      same=DIFFER
      if cmp -s report.ixo_engine report.ixo_engine_reference; then same=identical; else status=1; fi
      printf "$line" "$n" "$job" "$fast_wall" "$fast_cpu" "$fast_peak" "$ref_wall" "$ref_cpu" "$ref_peak" "$ratio" "$same"
    else
      printf "$line" "$n" "$job" "$fast_wall" "$fast_cpu" "$fast_peak" "-" "-" "-" "-" "-"
    fi
  done
done
exit "$status"

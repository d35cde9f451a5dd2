#!/usr/bin/env bash
# Times this build's ixo_engine against another build of it (an older commit,
# say) as whole processes, side by side in one run, on i.i.d. normal series
# made by tools/make_series. The two engines run in turn, run by run, so that
# both meet the same load. Rows:
#   - mode 0 at n = 10000 (write mode 0, the defaults: m = 10, 41 points);
#   - basic at n = 10000 (the nine write-mode-1 processes m = 2..10 with
#     0.60 1.90 40 50 1, one after the other, as the front end starts them);
#   - mode 0 at n = 50000 and 100000;
#   - mode 2 at n = 100000 (write mode 2, m = 10, eps_low 0.5).
# Each row gives the median wall time and the median CPU time (user + system)
# over the runs (RUNS, default 5; SLOW_RUNS, default 3, for any engine whose
# first run of a row took over 20 s), the peak memory (the largest maximum
# resident set of any process, /usr/bin/time) and the ratio old / new of the
# wall medians. With IXO_PAIR_COUNT_PATH forced to avx2, this build's AVX2
# path (what a processor without AVX-512 runs) gets a column of its own
# (AVX2=1, the default; AVX2=0 leaves it out). The reports (all but the run-time
# line) and output.tmp of the builds must agree, or the script fails.
# Load average before and after is printed: on a shared machine the CPU times
# and the ratios are the steadier figures.
#
# Usage: OLD_BIN=/path/to/old/build/bin bash bench/against_build.sh
#        (IXO_BIN names this build's folder, default build/bin; ROWS picks rows
#        by name: "mode0-10000 basic-10000 mode0-50000 mode0-100000 mode2-100000")
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
new_bin=${IXO_BIN:-$top/build/bin}
old_bin=${OLD_BIN:?OLD_BIN must name the folder of the other build\'s programs}
runs=${RUNS:-5}
slow_runs=${SLOW_RUNS:-3}
read -r -a rows <<<"${ROWS:-mode0-10000 basic-10000 mode0-50000 mode0-100000 mode2-100000}"
with_avx2=${AVX2:-1}

for program in "$new_bin/ixo_engine" "$new_bin/make_series" "$old_bin/ixo_engine"; do
  if [ ! -x "$program" ]; then
    echo "against_build: $program is missing" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$top/bench/timing.sh"
require_time against_build
cd "$work"
status=0

# job <row> <engine>: the processes of one row, each under /usr/bin/time,
# which appends "wall user system peak-KiB" per process to usage (its CPU
# times come in hundredths of a second; the wall time is taken around the
# whole row in nanoseconds); the
# reports go to report, output.tmp stays behind.
job() {
  local row=$1 engine=$2
  local kind=${row%-*}
  local -a path_env=()
  [ "$engine" != avx2 ] || path_env=(IXO_PAIR_COUNT_PATH=avx2)
  local program=$new_bin/ixo_engine
  [ "$engine" != old ] || program=$old_bin/ixo_engine
  run() { env "${path_env[@]}" /usr/bin/time -f '%e %U %S %M' -a -o "$work/usage" "$program" "$@" >>"$work/report"; }
  case $kind in
    mode0) run series.txt ;;
    basic) for m in 2 3 4 5 6 7 8 9 10; do run series.txt "$m" 0.60 1.90 40 50 1; done ;;
    mode2) run series.txt 10 0.5 1 1 1 2 ;;
  esac
}

engines=(old new)
[ "$with_avx2" = 0 ] || engines+=(avx2)

echo "ixo_engine, this build ($new_bin) against $old_bin: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg); $runs runs a row ($slow_runs where a run takes over 20 s)"
line='%-13s | %-22s | %-22s | %-22s | %-6s | %-6s | %s\n'
printf "$line" "row" "old: wall s, cpu s, MiB" "new: wall s, cpu s, MiB" "new avx2: wall, cpu, MiB" "old/new" "old/avx2" "reports"
for row in "${rows[@]}"; do
  n=${row#*-}
  "$new_bin/make_series" normal "$n" >series.txt
  declare -A wall=() cpu=() peak=() repeat=()
  for engine in "${engines[@]}"; do
    : >"wall.$engine"
    : >"cpu.$engine"
    : >"peak.$engine"
    repeat[$engine]=$runs
  done
  for ((i = 0; ; i++)); do
    more=0
    for engine in "${engines[@]}"; do
      ((i < repeat[$engine])) || continue
      more=1
      : >"$work/usage"
      : >"$work/report"
      rm -f output.tmp
      start=$(now)
      job "$row" "$engine"
      echo "$(($(now) - start))" | awk '{ print $1 / 1e9 }' >>"wall.$engine"
      awk '{ c += $2 + $3; if ($4 > p) p = $4 } END { print c >> "cpu.'"$engine"'"; print p >> "peak.'"$engine"'" }' "$work/usage"
      if ((i == 0)); then
        grep -v 'computation time' "$work/report" >"report.$engine"
        if [ -f output.tmp ]; then cp output.tmp "result.$engine"; else : >"result.$engine"; fi
        if awk '{ exit !($1 > 20) }' "wall.$engine"; then repeat[$engine]=$slow_runs; fi
      fi
    done
    ((more)) || break
  done
  same=identical
  for engine in "${engines[@]}"; do
    if ! cmp -s report.old "report.$engine" || ! cmp -s result.old "result.$engine"; then
      same=DIFFER
      status=1
    fi
  done
  for engine in "${engines[@]}"; do
    wall[$engine]=$(median <"wall.$engine")
    cpu[$engine]=$(median <"cpu.$engine")
    peak[$engine]=$(sort -n "peak.$engine" | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }')
  done
  cell() { [ -n "${wall[$1]:-}" ] && printf '%.3f, %.2f, %s' "${wall[$1]}" "${cpu[$1]}" "${peak[$1]}" || printf -- '-'; }
  ratio() { [ -n "${wall[$2]:-}" ] && awk -v a="${wall[old]}" -v b="${wall[$2]}" 'BEGIN { printf "%.2fx", (b > 0) ? a / b : 0 }' || printf -- '-'; }
  printf "$line" "$row" "$(cell old)" "$(cell new)" "$(cell avx2)" "$(ratio old new)" "$(ratio old avx2)" "$same"
  unset wall cpu peak repeat
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
exit "$status"

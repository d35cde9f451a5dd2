#!/usr/bin/env bash
# Times one permutation test (i.i.d. normal series of N values, default 10000,
# REPS permutations, default 999) as one ixo_cli run and as 2 and 8 parts run
# by GNU parallel on this machine (2 jobs at once, one thread each), and the
# merge of the parts; checks that every merged table is the single run's, byte
# for byte. CPU seconds (user + system) are the sums over all the processes a
# run starts; wall and CPU seconds are medians over RUNS (default 3) runs, in
# each of which every configuration runs once in turn; the merge's over 9.
# Usage: [N=10000] [REPS=999] [RUNS=3] [PARTS="2 8"] bash bench/parts_bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
bin=${IXO_BIN:-$top/build/bin}
n=${N:-10000}
reps=${REPS:-999}
runs=${RUNS:-3}
splits=(${PARTS:-2 8})

if [ ! -x "$bin/ixo_cli" ] || [ ! -x "$bin/make_series" ]; then
  cmake --build build --target ixo_cli make_series >/dev/null
fi
command -v parallel >/dev/null || { echo "parts_bench: GNU parallel is missing" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$top/bench/timing.sh"
require_time parts_bench
cd "$work"
"$bin/make_series" normal "$n" >series.txt

# parts <K>: the K parts, two at a time, each process under /usr/bin/time.
parts() {
  local k=$1
  rm -rf "parts-$k"
  mkdir "parts-$k"
  for ((i = 0; i < k; i++)); do echo "$((i * reps / k)):$(((i + 1) * reps / k))"; done |
    parallel -q --jobs 2 --halt now,fail=1 \
      /usr/bin/time -f "%M %U %S" -a -o "$work/usage" \
      "$bin/ixo_cli" ixo series.txt --reps "$reps" --replications {} --threads 1 --format part \
      --output "parts-$k/part-{#}.txt"
}

echo "$(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load average $(cut -d' ' -f1-3 /proc/loadavg), $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "n = $n, $reps permutations; medians of $runs runs, the configurations in turn in each run"
"$bin/ixo_cli" ixo series.txt --reps "$reps" --format csv >single.csv
# One run of every configuration in turn, RUNS times, so that a change of the
# machine's load falls on all of them alike; "wall cpu peak" lines per configuration.
configs=(single2 single1)
for k in "${splits[@]}"; do configs+=("parts$k"); done
for ((run = 0; run < runs; run++)); do
  for c in "${configs[@]}"; do
    case "$c" in
      single2) measure 1 timed "$bin/ixo_cli" ixo series.txt --reps "$reps" --threads 2 --format csv ;;
      single1) measure 1 timed "$bin/ixo_cli" ixo series.txt --reps "$reps" --threads 1 --format csv ;;
      parts*) measure 1 parts "${c#parts}" ;;
    esac >>"$work/result-$c"
  done
done
column_median() { awk -v c="$2" '{ print $c }' "$work/result-$1" | median; }
w1=$(column_median single2 1) c1=$(column_median single2 2) p1=$(column_median single2 3)
w0=$(column_median single1 1) c0=$(column_median single1 2) p0=$(column_median single1 3)
printf '%-28s %8s s wall %8s s CPU %6s MiB\n' "one run, 2 threads" "$w1" "$c1" "$p1"
printf '%-28s %8s s wall %8s s CPU %6s MiB\n' "one run, 1 thread" "$w0" "$c0" "$p0"
for k in "${splits[@]}"; do
  w=$(column_median "parts$k" 1) c=$(column_median "parts$k" 2) p=$(column_median "parts$k" 3)
  "$bin/ixo_cli" merge "parts-$k"/part-*.txt --format csv >merged.csv
  cmp -s single.csv merged.csv || { echo "parts_bench: $k parts merge to another table" >&2; exit 1; }
  read -r mw mc mp < <(measure 9 timed "$bin/ixo_cli" merge "parts-$k"/part-*.txt --format csv)
  size=$(du -cb "parts-$k"/part-*.txt | tail -n 1 | cut -f1)
  printf '%-28s %8s s wall %8s s CPU %6s MiB  CPU %+.1f %% of one thread, %+.1f %% of two; merge %.1f ms wall (%.0f ms CPU), %s bytes of parts\n' \
    "$k parts by parallel -j2" "$w" "$c" "$p" \
    "$(awk -v a="$c" -v b="$c0" 'BEGIN { print 100 * (a - b) / b }')" \
    "$(awk -v a="$c" -v b="$c1" 'BEGIN { print 100 * (a - b) / b }')" \
    "$(awk -v m="$mw" 'BEGIN { print m * 1000 }')" "$(awk -v m="$mc" 'BEGIN { print m * 1000 }')" "$size"
done
echo "every run's CPU seconds, in turn:"
for c in "${configs[@]}"; do printf '  %-8s %s\n' "$c" "$(awk '{ printf "%s ", $2 }' "$work/result-$c")"; done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "merged tables = the single run's, byte for byte; per replication $(awk -v c="$c0" -v r="$reps" 'BEGIN { printf "%.1f", 1000 * c / (r + 1) }') ms of one core"

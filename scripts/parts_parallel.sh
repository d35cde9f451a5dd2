#!/usr/bin/env bash
# GNU parallel recipes for ixo_cli, on this machine or on many hosts over ssh.
#
#   bash scripts/parts_parallel.sh split SERIES PARTS REPS [ixo_cli ixo options...]
#     one permutation test of REPS replications in PARTS parts, run as parallel
#     jobs and merged: the table (CSV unless IXO_FORMAT says table or json) is the
#     one a single run of all REPS replications prints, byte for byte.
#   bash scripts/parts_parallel.sh series FILE... [-- ixo_cli ixo options...]
#     one job per series; the CSV is the one `ixo_cli ixo FILE...` prints.
#
# IXO_CLI names the program (default build/bin/ixo_cli), IXO_JOBS the jobs at
# once (default 2). With IXO_SSHLOGINFILE the jobs run on the hosts listed in
# that file (parallel --sshloginfile: "4/user@host" for 4 jobs there, ":" for
# this machine); each host needs ixo_cli and the series at the same paths, and
# the results come back over ssh. Every part of a test must run the same build.
# IXO_THREADS (default 1) goes to each job's --threads.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${IXO_CLI:-$root/build/bin/ixo_cli}")"
jobs="${IXO_JOBS:-2}"
hosts=()
if [ -n "${IXO_SSHLOGINFILE:-}" ]; then hosts=(--sshloginfile "$IXO_SSHLOGINFILE"); fi

usage() {
  sed -n '4,9p' "$0" | sed 's/^# \{0,1\}//' >&2
  exit 2
}
command -v parallel >/dev/null || { echo "parts_parallel: GNU parallel is missing (apt-get install parallel)" >&2; exit 2; }
[ -x "$cli" ] || { echo "parts_parallel: no program at $cli" >&2; exit 2; }
[ $# -ge 1 ] || usage
mode="$1"
shift

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

case "$mode" in
  split)
    [ $# -ge 3 ] || usage
    series="$1" parts="$2" reps="$3"
    shift 3
    # Part k of K holds replications k*R/K .. (k+1)*R/K - 1: together 0..R-1 once.
    for ((k = 0; k < parts; k++)); do
      echo "$((k * reps / parts)):$(((k + 1) * reps / parts))"
    done >"$work/ranges"
    # Each part's text is the job's standard output, kept in a file of its own
    # (it comes back over ssh from another host), its messages beside it in
    # part-<k>.txt.err; one failed part stops them all.
    if ! parallel -q --jobs "$jobs" "${hosts[@]}" --halt now,fail=1 --results "$work/part-{#}.txt" \
      "$cli" ixo "$series" --reps "$reps" --replications {} --threads "${IXO_THREADS:-1}" "$@" \
      --format part :::: "$work/ranges" >/dev/null; then
      cat "$work"/part-*.txt.err >&2 2>/dev/null || true
      exit 1
    fi
    "$cli" merge "$work"/part-*.txt --format "${IXO_FORMAT:-csv}"
    ;;
  series)
    files=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do files+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    [ "${#files[@]}" -ge 1 ] || usage
    # --keep-order prints the jobs' tables in the files' order; every table's
    # header line but the first goes.
    parallel -q --jobs "$jobs" "${hosts[@]}" --halt now,fail=1 --keep-order \
      "$cli" ixo {} --threads "${IXO_THREADS:-1}" "$@" --format csv ::: "${files[@]}" |
      awk 'NR == 1 || !/^file,n,m,/'
    ;;
  *)
    usage
    ;;
esac

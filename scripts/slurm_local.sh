#!/usr/bin/env bash
# One permutation test split over a Slurm job array, on a single-node cluster
# that this script starts on this machine and stops again: munged, slurmctld
# and slurmd on localhost, every file (key, configuration, state, logs, parts)
# in one temporary folder, nothing left running or written elsewhere.
#
#   bash scripts/slurm_local.sh [SERIES] [PARTS] [REPS] [ixo_cli ixo options...]
#   bash scripts/slurm_local.sh examples/normal.txt 4 199 --m 6
#
# The array runs scripts/slurm_part.sbatch, one part of the replications per
# task; a merge job that depends on the whole array joins them; the merged
# table is then checked, byte for byte, against a single run of the whole
# range. Needs root (the daemons run as root) and Debian's slurm-wlm and munge.
# IXO_CLI names the program (default build/bin/ixo_cli); IXO_SLURM_PORT the
# first of the two ports (default 16817).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$(realpath "${IXO_CLI:-$root/build/bin/ixo_cli}")"
series="$(realpath "${1:-$root/examples/normal.txt}")"
parts="${2:-4}"
reps="${3:-199}"
shift $(($# < 3 ? $# : 3))
options=("$@")
port="${IXO_SLURM_PORT:-16817}"
node="$(hostname -s)"

[ "$(id -u)" -eq 0 ] || { echo "slurm_local: run as root (the daemons run as root)" >&2; exit 2; }
for program in munged mungekey slurmctld slurmd sbatch squeue sinfo; do
  command -v "$program" >/dev/null || { echo "slurm_local: $program is missing (apt-get install slurm-wlm munge)" >&2; exit 2; }
done
[ -x "$cli" ] || { echo "slurm_local: no program at $cli (build ixo_cli first)" >&2; exit 2; }

work="$(mktemp -d /tmp/ixo-slurm.XXXXXX)"
chmod 700 "$work"
mkdir -p "$work/state" "$work/spool" "$work/parts" "$work/logs"
daemons=()

stop_cluster() {
  local status=$?
  # Jobs first, so that no step outlives its daemon; then the daemons, newest first.
  if [ -f "$work/slurm.conf" ] && [ "${#daemons[@]}" -gt 1 ]; then
    SLURM_CONF="$work/slurm.conf" scancel --quiet --user=root 2>/dev/null || true
  fi
  for ((i = ${#daemons[@]} - 1; i >= 0; i--)); do
    kill "${daemons[i]}" 2>/dev/null || true
    wait "${daemons[i]}" 2>/dev/null || true
  done
  local left
  left="$(pgrep -f -- "$work" || true)"
  if [ -n "$left" ]; then
    echo "slurm_local: still running after the stop: $left" >&2
    status=1
  else
    echo "cluster stopped: no process of $work left"
  fi
  rm -rf "$work"
  exit "$status"
}
trap stop_cluster EXIT

step() { printf '%s  %s\n' "$(date -u +%H:%M:%S)" "$*"; }

step "munge: a key of our own and a daemon on $work/munge.socket"
mungekey --create --keyfile="$work/munge.key" --force
munged --foreground --force --socket="$work/munge.socket" --key-file="$work/munge.key" \
  --pid-file="$work/munged.pid" --log-file="$work/munged.log" --seed-file="$work/munged.seed" \
  >"$work/munged.out" 2>&1 &
daemons+=("$!")
for _ in $(seq 50); do [ -S "$work/munge.socket" ] && break; sleep 0.1; done
[ -S "$work/munge.socket" ] || { echo "slurm_local: munged did not start" >&2; cat "$work/munged.log" >&2; exit 1; }

cpus="$(nproc)"
cat >"$work/slurm.conf" <<EOF
ClusterName=ixo-local
SlurmctldHost=$node(127.0.0.1)
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge.socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
ReturnToService=2
MpiDefault=none
NodeName=$node NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=local Nodes=$node Default=YES MaxTime=INFINITE State=UP
EOF
export SLURM_CONF="$work/slurm.conf"

step "slurmctld and slurmd on $node, ports $port and $((port + 1)), configuration $SLURM_CONF"
slurmctld -D -i -f "$SLURM_CONF" >"$work/slurmctld.out" 2>&1 &
daemons+=("$!")
slurmd -D -f "$SLURM_CONF" -N "$node" >"$work/slurmd.out" 2>&1 &
daemons+=("$!")
for _ in $(seq 100); do
  sinfo -h -o '%T' 2>/dev/null | grep -qx idle && break
  sleep 0.2
done
sinfo -h -o '%T' | grep -qx idle || { echo "slurm_local: the node did not come up" >&2; tail -n 20 "$work/slurmctld.log" "$work/slurmd.log" >&2; exit 1; }
sinfo

step "the array: $parts parts of $reps permutations of $(basename "$series")"
array="$(sbatch --parsable --array=0-$((parts - 1)) --output="$work/logs/part-%a.log" \
  --export=ALL,IXO_CLI="$cli",IXO_SERIES="$series",IXO_PARTS="$parts",IXO_REPS="$reps",IXO_OUT="$work/parts",IXO_OPTIONS="${options[*]:-}" \
  "$root/scripts/slurm_part.sbatch")"
step "array job $array submitted; the merge waits for all of it (afterok)"
merge="$(sbatch --parsable --dependency=afterok:"$array" --kill-on-invalid-dep=yes \
  --output="$work/logs/merge.log" \
  --wrap "\"$cli\" merge \"$work\"/parts/part-*.txt --format csv --output \"$work/merged.csv\"")"
step "merge job $merge submitted"
squeue
# The merge job's end (or its cancellation when a part fails) ends the wait.
for _ in $(seq 7200); do
  squeue -h -j "$merge" 2>/dev/null | grep -q . || break
  sleep 0.5
done
step "done: $(ls "$work/parts" | wc -l) parts"
for log in "$work"/logs/*.log; do
  if [ -s "$log" ]; then echo "--- $(basename "$log")"; cat "$log"; fi
done
(cd "$work/parts" && wc -c part-*.txt && echo "--- part-0.txt, first lines" && head -n 12 part-0.txt)
[ -f "$work/merged.csv" ] || { echo "slurm_local: the merge wrote nothing" >&2; exit 1; }

step "the merged table against a single run of all $reps permutations"
"$cli" ixo "$series" --reps "$reps" "${options[@]}" --format csv --output "$work/single.csv"
cat "$work/merged.csv"
if cmp "$work/single.csv" "$work/merged.csv"; then
  step "merged = single run, byte for byte"
  if [ "$parts" -ge 3 ]; then
    step "a merge without part 1 is refused"
    "$cli" merge "$work/parts/part-0.txt" "$work"/parts/part-[2-9]*.txt || true
  fi
else
  echo "slurm_local: the merged table differs from the single run" >&2
  diff "$work/single.csv" "$work/merged.csv" >&2 || true
  exit 1
fi

#!/bin/bash
# One task of a Slurm job array: part SLURM_ARRAY_TASK_ID of IXO_PARTS of an
# `ixo_cli ixo` permutation test of IXO_REPS replications, written as a part
# file to IXO_OUT/part-<task>.txt. Merge the parts with `ixo_cli merge`.
#
#   sbatch --array=0-9 --export=ALL,IXO_CLI=/path/ixo_cli,IXO_SERIES=/data/x.txt,\
#     IXO_PARTS=10,IXO_REPS=9999,IXO_OUT=/scratch/parts scripts/slurm_part.sbatch
#
# IXO_OPTIONS adds ixo_cli ixo options (--m 6, --eps 0.25:1.00, ...); every
# task and the single run it stands for must be given the same ones.
#SBATCH --job-name=ixo-part
#SBATCH --cpus-per-task=1
set -euo pipefail
task="${SLURM_ARRAY_TASK_ID:?not a task of a job array}"
# Part k of K holds replications k*R/K .. (k+1)*R/K - 1: the parts cover 0..R-1 once.
first=$((task * IXO_REPS / IXO_PARTS))
end=$(((task + 1) * IXO_REPS / IXO_PARTS))
# shellcheck disable=SC2086
exec "$IXO_CLI" ixo "$IXO_SERIES" --reps "$IXO_REPS" --replications "$first:$end" \
  --threads "${SLURM_CPUS_PER_TASK:-1}" ${IXO_OPTIONS:-} --format part \
  --output "$IXO_OUT/part-$task.txt"

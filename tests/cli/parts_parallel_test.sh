#!/usr/bin/env bash
# The GNU parallel recipes of scripts/parts_parallel.sh with the built ixo_cli,
# locally with 2 jobs: a test split in 3 parts merges to the single run's table
# (CSV and aligned, and through --sshloginfile with this machine as the host),
# and one job per series gives the CSV of one run over them.
# Usage: parts_parallel_test.sh IXO_CLI EXAMPLES_DIR
set -euo pipefail
cli="$1"
examples="$2"
script="$(dirname "$0")/../../scripts/parts_parallel.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export IXO_CLI="$cli" IXO_JOBS=2

check() {  # check <what> <expected file> <actual file>
  if ! cmp -s "$2" "$3"; then
    echo "parts_parallel_test: $1 differs from the single run" >&2
    diff "$2" "$3" >&2 || true
    exit 1
  fi
  echo "$1: the single run's table, byte for byte"
}

series="$examples/logistic.txt"
"$cli" ixo "$series" --reps 29 --m 4 --format csv >"$work/single.csv"
bash "$script" split "$series" 3 29 --m 4 >"$work/merged.csv"
check "3 parts, csv" "$work/single.csv" "$work/merged.csv"
"$cli" ixo "$series" --reps 29 --m 4 >"$work/single.txt"
IXO_FORMAT=table bash "$script" split "$series" 3 29 --m 4 >"$work/merged.txt"
check "3 parts, table" "$work/single.txt" "$work/merged.txt"

# The many-hosts form, with this machine as its one "host" (":" in the file).
echo "2/:" >"$work/hosts"
IXO_SSHLOGINFILE="$work/hosts" bash "$script" split "$series" 3 29 --m 4 >"$work/hosts.csv"
check "3 parts, --sshloginfile" "$work/single.csv" "$work/hosts.csv"

files=("$examples/normal.txt" "$examples/garch.txt" "$examples/logistic.txt")
"$cli" ixo "${files[@]}" --reps 9 --m 3 --format csv >"$work/single.csv"
bash "$script" series "${files[@]}" -- --reps 9 --m 3 >"$work/many.csv"
check "one job per series" "$work/single.csv" "$work/many.csv"

# A part that fails stops the recipe with the program's message.
echo "1 2 x" >"$work/bad.txt"
if bash "$script" split "$work/bad.txt" 2 9 2>"$work/err"; then
  echo "parts_parallel_test: a bad series merged" >&2
  exit 1
fi
grep -q "'x' on line 1" "$work/err" || { cat "$work/err" >&2; exit 1; }
echo "a bad series: refused"

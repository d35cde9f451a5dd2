# Sourced by the bench scripts, after they have made their scratch folder
# $work: a clock, medians, the check for /usr/bin/time, and the timing of
# repeated runs of a command whose processes run under `timed`.

# Nanoseconds since the epoch.
now() { date +%s%N; }

# The median of the numbers on standard input, one a line.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# require_time <script>: ends the script with one line when /usr/bin/time,
# which gives the CPU seconds and the peak memory, is missing.
require_time() {
  if [ ! -x /usr/bin/time ]; then
    echo "$1: /usr/bin/time is missing (bash scripts/setup.sh installs it)" >&2
    exit 1
  fi
}

# timed <program> [argument ...]: runs the program with its output dropped and
# appends "peak-KiB user-s system-s" to $work/usage.
timed() { /usr/bin/time -f "%M %U %S" -a -o "$work/usage" "$@" >/dev/null; }

# measure <repeat> <command ...>: prints "wall-s cpu-s peak-MiB": over
# `repeat` runs of the command, the median wall time, the median CPU time
# (user + system) of all the processes it ran under `timed`, and the largest
# peak memory of any one of them.
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

"""The Python module against statsmodels' bds, side by side on the same series.

usage: /usr/bin/python3 bench/python_vs_statsmodels.py [--runs R] [--build DIR] [--quick]

Every measurement runs in a fresh Python process of its own, which draws the
i.i.d. N(0, 1) series of n values from numpy's generator with a fixed seed
(the same series for both sides) and makes the call once, for its peak
memory: the process's peak resident size during it (reset before it through
/proc/self/clear_refs) less its size before. Then it times the call again
with the wall clock and the process's CPU clock. Medians over R runs (default 3).
Rows:
  - ixo.bds(x, m=10, eps=(1.5,), reps=0) against
    statsmodels.tsa.stattools.bds(x, max_dim=10, distance=1.5), n = 1000, 2500, 10000;
  - ixo.test(x, reps=999), n = 500, 1000, 2500;
  - the cost of the call over the library at n = 500, reps = 0: ixo.test, the
    extension function it calls, and the library function alone
    (build/bin/library_call_bench, a Google Benchmark of the same series).
--quick runs the smallest sizes only. The package is imported from
DIR/python (default build/python) where it was built, else as installed.
"""

import argparse
import json
import os
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

TOP = pathlib.Path(__file__).resolve().parents[1]

CHILD = r"""
import sys, time
import numpy as np

def status(field):
    # The process's resident memory (VmRSS) or its peak (VmHWM), in KiB.
    with open("/proc/self/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith(field + ":"))

what, n, repeat = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
x = np.random.default_rng(20040105).standard_normal(n)
if what == "statsmodels":
    import statsmodels.tsa.stattools as st
    call = lambda: st.bds(x, max_dim=10, distance=1.5)
else:
    import ixo
    call = {
        "ixo.bds": lambda: ixo.bds(x, m=10, eps=(1.5,), reps=0),
        "ixo.test": lambda: ixo.test(x, reps=999),
        "ixo.test reps=0": lambda: ixo.test(x, reps=0),
        "extension reps=0": lambda: ixo._ixo.ixo_test(x, 10, 0.6, 1.9, 40, 50, 0, ixo.DEFAULT_SEED, 0),
    }[what]
# Writing 5 to clear_refs sets the peak back to the present resident size,
# so the peak after the first call less the size before is what it took.
with open("/proc/self/clear_refs", "w") as f:
    f.write("5")
before = status("VmRSS")
call()
peak = (status("VmHWM") - before) / 1024
cpu = time.process_time()
wall = time.perf_counter()
for _ in range(repeat):
    call()
wall = (time.perf_counter() - wall) / repeat
cpu = (time.process_time() - cpu) / repeat
print(wall, cpu, peak)
"""


def measure(what, n, runs, env, repeat=1):
    """Median wall s, median CPU s and largest peak MiB of `runs` fresh processes."""
    samples = []
    for _ in range(runs):
        done = subprocess.run(
            [sys.executable, "-c", CHILD, what, str(n), str(repeat)],
            capture_output=True, text=True, env=env,
        )
        if done.returncode != 0:
            sys.exit(f"{what} at n = {n} failed:\n{done.stderr}")
        samples.append([float(v) for v in done.stdout.split()])
    return (
        statistics.median(s[0] for s in samples),
        statistics.median(s[1] for s in samples),
        max(s[2] for s in samples),
    )


def library_seconds(build, n):
    """The library call alone, from library_call_bench on the same series."""
    program = build / "bin" / "library_call_bench"
    if not program.exists():
        return None
    import numpy as np

    x = np.random.default_rng(20040105).standard_normal(n)
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
        f.write("\n".join(repr(float(v)) for v in x) + "\n")
    try:
        done = subprocess.run(
            [str(program), "--benchmark_format=json", "--benchmark_repetitions=5"],
            capture_output=True, text=True, env={**os.environ, "IXO_BENCH_SERIES": f.name}, check=True,
        )
    finally:
        os.unlink(f.name)
    rows = json.loads(done.stdout)["benchmarks"]
    median = [r for r in rows if r.get("aggregate_name") == "median"]
    row = median[0] if median else rows[0]
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[row["time_unit"]]
    return row["real_time"] * scale


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--build", default=str(TOP / "build"))
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    build = pathlib.Path(args.build).resolve()
    env = dict(os.environ)
    if (build / "python" / "ixo").is_dir():
        env["PYTHONPATH"] = os.pathsep.join(filter(None, [str(build / "python"), env.get("PYTHONPATH")]))

    load = os.getloadavg()[0]
    print(f"{time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}, {os.cpu_count()} cores, "
          f"load average {load:.1f} at the start, medians of {args.runs}")
    print()
    print("| n | ixo.bds: wall s (CPU s), peak MiB | statsmodels bds: wall s (CPU s), peak MiB | wall ratio |")
    print("|---|---|---|---|")
    for n in (1000,) if args.quick else (1000, 2500, 10000):
        ours = measure("ixo.bds", n, args.runs, env)
        theirs = measure("statsmodels", n, args.runs, env)
        print(f"| {n} | {ours[0]:.4f} ({ours[1]:.4f}), {ours[2]:.1f} | "
              f"{theirs[0]:.3f} ({theirs[1]:.3f}), {theirs[2]:.1f} | {theirs[0] / ours[0]:.0f}x |", flush=True)
    print()
    print("| n | ixo.test(x, reps=999): wall s (CPU s), peak MiB |")
    print("|---|---|")
    for n in (500,) if args.quick else (500, 1000, 2500):
        ours = measure("ixo.test", n, args.runs, env)
        print(f"| {n} | {ours[0]:.3f} ({ours[1]:.3f}), {ours[2]:.1f} |", flush=True)
    print()
    call = measure("ixo.test reps=0", 500, args.runs, env, repeat=200)
    extension = measure("extension reps=0", 500, args.runs, env, repeat=200)
    library = library_seconds(build, 500)
    text = "not built" if library is None else f"{library * 1e3:.3f} ms"
    print(f"n = 500, reps = 0, mean of 200 calls: ixo.test {call[0] * 1e3:.3f} ms, "
          f"the extension function {extension[0] * 1e3:.3f} ms, the library alone {text}")
    if library is not None:
        print(f"overhead of ixo.test over the library: {(call[0] - library) * 1e3:.3f} ms")
    print(f"load average {os.getloadavg()[0]:.1f} at the end")


if __name__ == "__main__":
    main()

"""Size and power of Ixo's tests beside BDS, from fixed seeds, through the built
ixo_cli; writes docs/validation.md and its pictures.

  /usr/bin/python3 bench/size_power.py            the full study (about 33 min, 2 cores)
  /usr/bin/python3 bench/size_power.py --quick    a smaller one (a few minutes)
  ... --scale 0.5                                 every series count halved
  ... --plan smoke --out DIR                      seconds; what the test suite runs

Every number on the page comes from this run. Run it under `nice` on a shared
machine. Exit status 0 done, 1 when ixo_cli fails, 2 on bad usage.
"""

import argparse
import concurrent.futures
import datetime
import multiprocessing
import os
import platform
import resource
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import series_models  # noqa: E402
import study_plan  # noqa: E402
import study_runner  # noqa: E402
import validation_page  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_SEED = 20261210
LAW_FAMILY, ALTERNATIVE_FAMILY = 0, 100


def parse_args(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--quick", action="store_true", help="the quick plan (a few minutes)")
    parser.add_argument("--plan", choices=sorted(study_plan.PLANS), default=None)
    parser.add_argument("--scale", type=float, default=1.0, help="multiply every series count")
    parser.add_argument("--seed", type=int, default=DEFAULT_SEED)
    parser.add_argument("--ixo-cli", default=os.path.join(REPO, "build", "bin", "ixo_cli"))
    parser.add_argument("--out", default=os.path.join(REPO, "docs"), help="folder of validation.md")
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1,
                        help="cells run at once (default: one per core)")
    parser.add_argument("--threads", type=int, default=0,
                        help="threads of each ixo_cli call (default: the cores shared among the jobs)")
    args = parser.parse_args(argv)
    if args.quick and args.plan not in (None, "quick"):
        parser.error("--quick and --plan name two plans")
    if args.jobs < 1 or args.threads < 0:
        parser.error("--jobs must be at least 1 and --threads at least 0")
    if not 0 < args.scale <= 1:
        parser.error("--scale must lie in (0, 1]")
    if not os.access(args.ixo_cli, os.X_OK):
        parser.error(f"no ixo_cli at {args.ixo_cli} (build it, or pass --ixo-cli)")
    return args


def chosen_models(models, keys):
    return [(i, m) for i, m in enumerate(models) if not keys or m.key in keys]


def machine_text():
    model = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return f"{model}, {os.cpu_count()} cores, {platform.system()} {platform.release()}"


def commit_text():
    try:
        head = subprocess.run(["git", "-C", REPO, "rev-parse", "--short=12", "HEAD"], capture_output=True,
                              text=True, check=True).stdout.strip()
        dirty = subprocess.run(["git", "-C", REPO, "status", "--porcelain", "--untracked-files=no"],
                               capture_output=True, text=True, check=True).stdout.strip()
        return head + (" (with uncommitted changes)" if dirty else "")
    except (OSError, subprocess.CalledProcessError):
        return "unknown"


def load_text():
    return " ".join(f"{v:.2f}" for v in os.getloadavg())


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def study_cells(plan):
    """The cells of `plan` in page order: (kind, model index, model, n)."""
    todo = [("size", i, m, n) for i, m in chosen_models(series_models.SIZE_LAWS, plan.laws) for n in plan.size_ns]
    todo += [("power", i, m, n) for i, m in chosen_models(series_models.ALTERNATIVES, plan.alternatives)
             for n in plan.power_ns]
    return todo


def cell_cost(plan, kind, n):
    """A rough cost of a cell, in pair counts: what orders the cells so that
    the longest start first and the cores are not left idle at the end."""
    perm = (plan.perm_size if kind == "size" else plan.perm_power)[n]
    reps = plan.size_reps if kind == "size" else plan.power_reps
    return n * n * (plan.series[n] + perm * (reps + 1))


def run_one(plan, args, folder, kind, index, n):
    """One cell in a worker process; returns the Cell, its wall and CPU seconds."""
    model = (series_models.SIZE_LAWS if kind == "size" else series_models.ALTERNATIVES)[index]
    family = (LAW_FAMILY if kind == "size" else ALTERNATIVE_FAMILY) + index
    count = plan.series[n]
    perm = (plan.perm_size if kind == "size" else plan.perm_power)[n]
    reps = plan.size_reps if kind == "size" else plan.power_reps
    other = plan.other_range if kind == "power" and n == plan.other_range_n else None
    started, cpu = time.time(), children_cpu()
    series = study_runner.draw_series(model, family, args.seed, n, count)
    cell = study_runner.run_cell(
        args.ixo_cli, folder, f"{model.key}_{n}", series, min(perm, count), reps,
        seed=args.seed + family * 10007 + n, other_range=other,
        other_count=min(plan.other_range_series, count), threads=args.threads,
        ixo_m=study_runner.ALL_M[-1] if kind == "size" else max(study_plan.DIMENSIONS),
        sequential=study_plan.sequential_tail(reps))
    return cell, time.time() - started, children_cpu() - cpu


def run_study(plan, args, folder, log):
    """Every cell, `args.jobs` at a time, each in its own process (every
    ixo_cli call has its own seed, so the order and the split do not change
    a number); the cells in page order."""
    todo = study_cells(plan)
    threads = args.threads or (max(1, (os.cpu_count() or 1) // args.jobs) if args.jobs > 1 else 0)
    args = argparse.Namespace(**{**vars(args), "threads": threads})
    order = sorted(todo, key=lambda c: -cell_cost(plan, c[0], c[3]))
    done = {}
    with concurrent.futures.ProcessPoolExecutor(args.jobs, mp_context=multiprocessing.get_context("fork")) as pool:
        futures = {pool.submit(run_one, plan, args, folder, kind, index, n): (kind, model, n)
                   for kind, index, model, n in order}
        try:
            for future in concurrent.futures.as_completed(futures):
                kind, model, n = futures[future]
                cell, wall, cpu = future.result()
                done[(kind, model.key, n)] = cell
                perm = (plan.perm_size if kind == "size" else plan.perm_power)[n]
                log(f"[{len(done)}/{len(todo)}] {kind} {model.key} n={n}: {plan.series[n]} series, "
                    f"{min(perm, plan.series[n])} permuted, {wall:.1f} s ({cpu:.1f} s CPU), load {load_text()}")
        except BaseException:
            for future in futures:
                future.cancel()
            raise
    return {(kind, model.key, n): done[(kind, model.key, n)] for kind, _, model, n in todo}


def main(argv):
    args = parse_args(argv)
    plan = study_plan.PLANS[args.plan or ("quick" if args.quick else "full")]
    if args.scale != 1.0:
        plan = study_plan.scaled(plan, args.scale)
    os.makedirs(args.out, exist_ok=True)
    meta = {
        "plan": plan,
        "scale": args.scale,
        "seed": args.seed,
        "started": datetime.datetime.now(datetime.timezone.utc),
        "machine": machine_text(),
        "commit": commit_text(),
        "load_before": load_text(),
        "command": " ".join(["/usr/bin/python3", "bench/size_power.py", *argv]),
    }
    wall = time.time()
    with tempfile.TemporaryDirectory(prefix="ixo_study_") as folder:
        try:
            cells = run_study(plan, args, folder, lambda text: print(text, file=sys.stderr, flush=True))
        except study_runner.CliError as failure:
            print(f"size_power: {failure}", file=sys.stderr)
            return 1
    meta.update(wall_s=time.time() - wall, cpu_s=children_cpu(),
                load_after=load_text())
    page = validation_page.write(args.out, cells, meta)
    print(f"size_power: wrote {page}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""One cell of the size-and-power study: draw its series, hand them to ixo_cli
in a few calls (ixo_cli takes many files at once), and tally the rejections.

A cell is one model at one length. Its results: test -> dimension -> Tally,
with the tests
  ixo_table     the Ixo value against the tabulated critical values of the
                class ixo_cli names (the nearest one, as the window preselects it)
  ixo_perm      the Ixo permutation p-value
  ixo_perm_alt  the same on another distance range (power cells at one n only)
  bds_normal    BDS at eps = 1 sd, normal p-value
  bds_perm      BDS at eps = 1 sd, permutation p-value
  bds_normal_05 BDS at eps = 0.5 sd, normal p-value
"""

import csv
import io
import os
import subprocess

import numpy as np

from study_plan import DIMENSIONS, LEVELS, Tally, p_rejects, table_rejects

IXO_RANGE = "0.60:1.90"
ALL_M = tuple(range(2, 11))
CLASS_MISFIT = "unknown: n lies more than 20 %"


class CliError(RuntimeError):
    pass


def run_cli(ixo_cli, args):
    """ixo_cli's CSV rows, each file's overall row (m or statistic "all") left
    out; a failure raises CliError with its message."""
    done = subprocess.run([ixo_cli, *args, "--format", "csv"], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True)
    if done.returncode != 0:
        raise CliError(f"ixo_cli {args[0]} failed ({done.returncode}): {done.stderr.strip()}")
    return [row for row in csv.DictReader(io.StringIO(done.stdout))
            if row.get("m", row.get("statistic")) != "all"]


def write_series(folder, stem, series):
    """One file per series, values at full precision; the file names in order."""
    names = []
    for i, x in enumerate(series):
        name = os.path.join(folder, f"{stem}_{i:05d}.txt")
        with open(name, "w") as f:
            f.write("\n".join(repr(float(v)) for v in x))
            f.write("\n")
        names.append(name)
    return names


class Cell:
    def __init__(self):
        self.tallies = {}
        self.table_class = None
        self.class_chosen = False  # the verdicts are --class table_class's: n lies far from it

    def tally(self, test, m):
        return self.tallies.setdefault(test, {}).setdefault(m, Tally())

    def count(self, test, m):
        return self.tallies.get(test, {}).get(m)


def _tally_ixo(cell, rows, with_table, with_perm, test="ixo_perm"):
    for row in rows:
        m = int(row["m"])
        if with_table:
            cell.table_class = int(row["class"])
            cell.tally("ixo_table", m).add({lv: table_rejects(row["verdict"], lv) for lv in LEVELS})
        if with_perm:
            cell.tally(test, m).add({lv: p_rejects(row["p_value"], lv) for lv in LEVELS})


def _tally_bds(cell, rows, column, tests_by_eps, dimensions):
    for row in rows:
        m = int(row["m"])
        test = tests_by_eps.get(float(row["eps"]))
        if test is None or m not in dimensions:
            continue
        cell.tally(test, m).add({lv: p_rejects(row[column], lv) for lv in LEVELS})


def _tally_joint(cell, rows):
    """The rows of `ixo_cli test --rows statistic --bds-eps 1`: "ixo m=K" and
    "bds m=K eps=1", each with its own (unadjusted) permutation p-value."""
    for row in rows:
        family, m_text = row["statistic"].split()[:2]
        m = int(m_text.removeprefix("m="))
        if family == "ixo":
            test = "ixo_perm"
        elif m in DIMENSIONS:
            test = "bds_perm"
        else:
            continue
        cell.tally(test, m).add({lv: p_rejects(row["p_value"], lv) for lv in LEVELS})


def run_cell(ixo_cli, folder, stem, series, perm_count, reps, seed, other_range=None,
             other_count=0, threads=0, ixo_m=10, sequential=0):
    """Runs every test on `series` (the permutation tests on the first
    `perm_count`) and returns the Cell. Permutation seeds come from `seed`;
    the Ixo tests run at m = 2..`ixo_m`; `sequential` is ixo_cli's tail count
    (sequential_tail gives one that keeps the fixed-R decisions)."""
    files = write_series(folder, stem, series)
    perm_files = files[:perm_count]
    common = ["--seed", str(seed), "--threads", str(threads)]
    perm = ["--reps", str(reps), "--sequential", str(sequential)]
    cell = Cell()
    ixo_args = ["--m", str(ixo_m), "--eps", IXO_RANGE]
    # Both permutation tests in one run over the same permuted copies (the
    # p-values of separate ixo and bds runs with this seed, at half the cost).
    if perm_files:
        rows = run_cli(ixo_cli, ["test", *perm_files, *ixo_args, "--bds-eps", "1", *perm, "--rows",
                                 "statistic", *common])
        _tally_joint(cell, rows)
    rows = run_cli(ixo_cli, ["ixo", *files, *ixo_args, "--reps", "0", *common])
    if any(row["verdict"].startswith(CLASS_MISFIT) for row in rows):
        # n lies beyond 20 % of its class: the verdicts a user gets who keeps
        # that class anyway, as the window used to preselect it.
        rows = run_cli(ixo_cli, ["ixo", *files, *ixo_args, "--reps", "0", "--class", rows[0]["class"],
                                 *common])
        cell.class_chosen = True
    _tally_ixo(cell, rows, with_table=True, with_perm=False)
    rows = run_cli(ixo_cli, ["bds", *files, "--m", "10", "--eps", "0.5,1", "--reps", "0", *common])
    _tally_bds(cell, rows, "p_normal", {1.0: "bds_normal", 0.5: "bds_normal_05"}, ALL_M)
    if other_range and other_count:
        rows = run_cli(ixo_cli, ["ixo", *files[:other_count], "--m", str(max(DIMENSIONS)), "--eps", other_range,
                                 *perm, *common])
        _tally_ixo(cell, rows, with_table=False, with_perm=True, test="ixo_perm_alt")
    for name in files:
        os.remove(name)
    return cell


def draw_series(model, family, seed, n, count):
    from series_models import series_rng

    return [np.asarray(model.draw(series_rng(seed, family, n, i), n), dtype=float) for i in range(count)]

"""docs/validation.md and its pictures from the cells of one study run. Every
number written comes from the cells or the run's own record (meta)."""

import math
import os

import series_models
import study_plan
from study_plan import DIMENSIONS, LEVELS
from study_runner import ALL_M, IXO_RANGE

TEST_NAMES = {
    "ixo_table": "Ixo, tabulated verdict",
    "ixo_perm": "Ixo, permutation p-value",
    "bds_normal": "BDS at 1 sd, normal p-value",
    "bds_perm": "BDS at 1 sd, permutation p-value",
    "bds_normal_05": "BDS at 0.5 sd, normal p-value",
    "ixo_perm_alt": "Ixo, permutation p-value, other range",
}
SIZE_TESTS = ("ixo_table", "ixo_perm", "bds_normal", "bds_perm")
POWER_TESTS = ("ixo_perm", "bds_perm", "ixo_table", "bds_normal")
CLASS_WINDOW = 0.20  # the window keeps the nearest class within 20 % of n


def near_class(n, table_class):
    """Whether n lies within 20 % of its nearest class (ends included), where
    the window keeps that class preselected."""
    return abs(n - table_class) <= CLASS_WINDOW * table_class + 1e-9


def se(rate, count):
    return math.sqrt(max(rate * (1 - rate), 0.0) / count) if count else float("nan")


def duration(seconds):
    return f"{seconds:.0f} s" if seconds < 120 else f"{seconds / 60:.1f} min"


def fmt(rate):
    return "–" if rate is None or math.isnan(rate) else f"{rate:.3f}"


def rate_of(cell, test, m, level):
    """(rate, series) of a test in a cell; (None, 0) where it decided no
    series at all (no verdict or p-value for any), which is no rate of 0."""
    tally = cell.count(test, m) if cell else None
    if not tally or tally.undefined == tally.total:
        return None, 0
    return tally.rate(level), tally.total


def size_mark(rate, count, level):
    """The rate, in bold where it lies more than 3 standard errors from the level."""
    if rate is None:
        return "–"
    return f"**{rate:.3f}**" if abs(rate - level) > 3 * se(level, count) else f"{rate:.3f}"


def models_in(cells, kind, models):
    keys = {key for (k, key, _) in cells if k == kind}
    return [m for m in models if m.key in keys]


def lengths_in(cells, kind):
    return sorted({n for (k, _, n) in cells if k == kind})


def table(header, rows):
    lines = ["| " + " | ".join(header) + " |", "|" + "---|" * len(header)]
    lines += ["| " + " | ".join(str(c) for c in row) + " |" for row in rows]
    return "\n".join(lines) + "\n"


# --- sections ---------------------------------------------------------------


def counts_text(counts):
    return ", ".join(f"n = {n}: {c}" for n, c in sorted(counts.items()))


def run_section(meta, cells):
    plan = meta["plan"]
    started = meta["started"].strftime("%Y-%m-%d %H:%M UTC")
    counts = sorted({t.total for c in cells.values() for tests in c.tallies.values() for t in tests.values()})
    lines = [
        "## The run\n",
        f"- Date: {started}; wall time {duration(meta['wall_s'])}, CPU time of ixo_cli and the script's "
        f"other children {duration(meta['cpu_s'])}.",
        f"- Machine: {meta['machine']}; load average (1, 5, 15 min) {meta['load_before']} before, "
        f"{meta['load_after']} after.",
        f"- Commit: {meta['commit']}; seed {meta['seed']}; plan \"{plan.name}\": `{meta['command']}`.",
        f"- Permutations: R = {plan.size_reps} in the size cells, R = {plan.power_reps} in the power cells, "
        f"drawn under `ixo_cli --sequential` with h = {study_plan.sequential_tail(plan.size_reps)} and "
        f"h = {study_plan.sequential_tail(plan.power_reps)}: a series stops drawing once h permuted values "
        "lie on each side of its own, so that all R would give it p ≥ 2 (1 + h) / (R + 1), above 10 %; the "
        "others draw all R. Every rejection at 5 % and 10 % is therefore the one all R give; only the time "
        "is saved.",
    ]
    if meta.get("scale", 1.0) != 1.0:
        full = study_plan.PLANS.get(plan.name.split(" ")[0])
        if full:
            lines.append(f"- A smaller configuration than the plan \"{full.name}\", whose counts are multiplied by "
                         f"{meta['scale']:g} here; unscaled, the series per cell are {counts_text(full.series)}; for the "
                         f"permutation tests {counts_text(full.perm_size)} (size) and "
                         f"{counts_text(full.perm_power)} (power).")
    lines += [
        "",
        "Series per cell (the one-count tests are the tabulated verdict and the normal p-values; the "
        "permutation tests run on the first series of the same cell):\n",
    ]
    ns = sorted(set(plan.size_ns) | set(plan.power_ns))
    rows = [[n, plan.series.get(n, "–"), plan.perm_size.get(n, "–") if n in plan.size_ns else "–",
             plan.perm_power.get(n, "–") if n in plan.power_ns else "–"] for n in ns]
    lines.append(table(["n", "one-count tests", "permutation tests, size", "permutation tests, power"], rows))
    lines.append("Monte Carlo standard error of a rate, sqrt(p (1 − p) / N), for the counts of this run:\n")
    rows = [[c, fmt(se(0.05, c)), fmt(se(0.10, c)), fmt(se(0.5, c))] for c in counts]
    lines.append(table(["N series", "at p = 0.05", "at p = 0.10", "largest (p = 0.5)"], rows))
    return "\n".join(lines)


def tests_section(plan, cells):
    classes = {}
    for (kind, _, n), cell in cells.items():
        if kind == "size" and cell.table_class:
            classes[n] = cell.table_class
    lines = [
        "## The tests\n",
        f"- **{TEST_NAMES['ixo_table']}**: the Ixo value (distance range {IXO_RANGE.replace(':', '–')} sd, "
        "40 intervals, Cm limit 50) against the critical values of the class `ixo_cli` names: the "
        "tabulated size nearest to n. The verdict rejects at a level when the value leaves that level's "
        "two-sided band. Where n lies more than 20 % from the class, `ixo_cli` gives no verdict (\"unknown: n "
        "lies more than 20 % from the class\") and the window preselects \"permutation\"; the rows of such n "
        "are the verdicts of `ixo_cli ixo --class C`, what a user gets who keeps the nearest class C anyway.",
        f"- **{TEST_NAMES['ixo_perm']}**: the same value against R random orderings of the series; "
        "p = 2 min(1 + #below, 1 + #above) / (R + 1), rejected where p ≤ the level. With (R + 1) × level / 2 "
        "whole, as for both R of this run, the test's size is exactly the level for any i.i.d. law without "
        "ties, which is why the size cells can use the smaller R: the power cells use the larger one.",
        f"- **{TEST_NAMES['bds_normal']}** and **{TEST_NAMES['bds_perm']}**: the BDS statistic at eps = 1 sd "
        "with its two-sided normal p-value and its permutation p-value (same R). Both permutation tests of a "
        "cell come from one `ixo_cli test --rows statistic` run over the same permuted copies; each of its "
        "p-values is the one `ixo_cli ixo` or `ixo_cli bds` gives with that seed.",
        f"- **{TEST_NAMES['bds_normal_05']}**: for the size only, at every m = 2..10.",
        "",
        "Rejection rates are given at the 5 % and 10 % levels for m = 2, 3 and 5; the size of the Ixo tests at "
        "every m = 2..10 is in its own table (the power cells count m = 2..5 only). A test whose statistic is undefined for a series (no p-value) counts "
        "as not rejecting it; a cell where it decides no series at all shows –, as BDS's normal p-value "
        "does wherever n < 200 m, below which `ixo_cli` gives none.",
        "",
    ]
    if classes:
        rows = []
        for n in sorted(classes):
            c = classes[n]
            window = "the nearest class" if near_class(n, c) else "permutation (n lies beyond 20 % of every class)"
            rows.append([n, c, f"{100 * abs(n - c) / c:.0f} %", window])
        lines.append("The class each n gets, and what the window is to preselect once it turns to "
                     "\"permutation\" beyond 20 % from every class (the tabulated rows below are the "
                     "nearest class at every n, chosen with `--class` beyond 20 %):\n")
        lines.append(table(["n", "nearest class", "n off the class", "to be preselected"], rows))
    return "\n".join(lines)


def size_section(cells, figure):
    laws = models_in(cells, "size", series_models.SIZE_LAWS)
    ns = lengths_in(cells, "size")
    lines = ["## Size\n",
             "Rejection rates of i.i.d. series; in **bold** where the rate lies more than 3 standard errors "
             "from the level.\n",
             f"![Rejection rates of i.i.d. series against n]({figure})\n"]
    for test in SIZE_TESTS:
        lines.append(f"### {TEST_NAMES[test]}\n")
        rows = []
        for law in laws:
            for n in ns:
                cell = cells[("size", law.key, n)]
                row = [law.label, n, rate_of(cell, test, 2, 0.05)[1]]
                for level in LEVELS:
                    for m in DIMENSIONS:
                        rate, count = rate_of(cell, test, m, level)
                        row.append(size_mark(rate, count, level))
                rows.append(row)
        header = ["law", "n", "N"] + [f"m={m}, {int(lv * 100)} %" for lv in LEVELS for m in DIMENSIONS]
        lines.append(table(header, rows))
    lines.append(f"### {TEST_NAMES['bds_normal_05']}, 5 % level, every dimension\n")
    rows = []
    for law in laws:
        for n in ns:
            cell = cells[("size", law.key, n)]
            row = [law.label, n]
            for m in ALL_M:
                rate, count = rate_of(cell, "bds_normal_05", m, 0.05)
                row.append(size_mark(rate, count, 0.05))
            rows.append(row)
    lines.append(table(["law", "n"] + [f"m={m}" for m in ALL_M], rows))
    lines.append("### The Ixo tests at every dimension, 5 % level\n")
    rows = []
    for test in ("ixo_table", "ixo_perm"):
        for law in laws:
            for n in ns:
                cell = cells[("size", law.key, n)]
                row = [TEST_NAMES[test], law.label, n]
                for m in ALL_M:
                    rate, count = rate_of(cell, test, m, 0.05)
                    row.append(size_mark(rate, count, 0.05))
                rows.append(row)
    lines.append(table(["test", "law", "n"] + [f"m={m}" for m in ALL_M], rows))
    return "\n".join(lines)


def compare(cell, m, level):
    """'Ixo +d' or 'BDS +d' where the permutation tests differ by more than two
    standard errors of the difference, else '≈ d'."""
    a, na = rate_of(cell, "ixo_perm", m, level)
    b, nb = rate_of(cell, "bds_perm", m, level)
    if a is None or b is None:
        return "–", 0
    spread = math.sqrt(se(a, na) ** 2 + se(b, nb) ** 2)
    if a - b > 2 * spread:
        return f"Ixo +{a - b:.2f}", 1
    if b - a > 2 * spread:
        return f"BDS +{b - a:.2f}", -1
    # Rounded first, so that a difference below half a point reads +0.00, not -0.00.
    return f"≈ {round(a - b, 2) or 0.0:+.2f}", 0


def power_section(plan, cells, figure):
    alts = models_in(cells, "power", series_models.ALTERNATIVES)
    ns = lengths_in(cells, "power")
    lines = ["## Power\n", "The alternatives (e<sub>t</sub> and all draws from numpy's seeded generator; "
             f"the recursions drop a burn-in of {series_models.BURN_IN} values):\n"]
    lines += [f"- **{a.label}**: {a.equation}" for a in alts]
    lines.append("\nThe tabulated verdict and the normal p-values are not size-corrected: where their size "
                 "is off (see above) their power is too.\n")
    lines.append(f"![Power of the permutation tests against n]({figure})\n")
    for level in LEVELS:
        lines.append(f"### Rejection rates at the {int(level * 100)} % level\n")
        rows = []
        for alt in alts:
            for n in ns:
                cell = cells[("power", alt.key, n)]
                row = [alt.label, n, rate_of(cell, "ixo_perm", 2, level)[1], rate_of(cell, "ixo_table", 2, level)[1]]
                for test in POWER_TESTS:
                    row += [fmt(rate_of(cell, test, m, level)[0]) for m in DIMENSIONS]
                rows.append(row)
        short = {"ixo_perm": "Ixo perm", "bds_perm": "BDS perm", "ixo_table": "Ixo table", "bds_normal": "BDS normal"}
        header = ["alternative", "n", "N perm", "N"] + [f"{short[t]} m={m}" for t in POWER_TESTS for m in DIMENSIONS]
        lines.append(table(header, rows))
    lines.append("### Where each permutation test is the better one (5 % level)\n")
    lines.append("The difference of the two permutation tests' rates where it exceeds two standard errors "
                 "of the difference, else ≈ and the difference:\n")
    rows, tally = [], {1: 0, -1: 0, 0: 0}
    for alt in alts:
        for n in ns:
            row = [alt.label, n]
            for m in DIMENSIONS:
                text, sign = compare(cells[("power", alt.key, n)], m, 0.05)
                tally[sign] += 1
                row.append(text)
            rows.append(row)
    lines.append(table(["alternative", "n"] + [f"m={m}" for m in DIMENSIONS], rows))
    lines.append(f"Of these {sum(tally.values())} comparisons the Ixo test is the better one in {tally[1]}, "
                 f"BDS in {tally[-1]}, neither clearly in {tally[0]}.\n\n")
    other = [key for key in cells if key[0] == "power" and cells[key].count("ixo_perm_alt", 2)]
    if other:
        n = other[0][2]
        lines.append(f"### Another distance range for the Ixo test (n = {n}, 5 % level)\n")
        rows = []
        for alt in alts:
            cell = cells[("power", alt.key, n)]
            row = [alt.label]
            for test in ("ixo_perm", "ixo_perm_alt"):
                row.append(rate_of(cell, test, 2, 0.05)[1])
                row += [fmt(rate_of(cell, test, m, 0.05)[0]) for m in DIMENSIONS]
            rows.append(row)
        a, b = IXO_RANGE.replace(":", "–"), plan.other_range.replace(":", "–")
        header = ["alternative", f"N ({a})"] + [f"{a} m={m}" for m in DIMENSIONS] + [f"N ({b})"] + \
                 [f"{b} m={m}" for m in DIMENSIONS]
        lines.append(table(header, rows))
    return "\n".join(lines)


def size_summary(cells, test, dimensions, level=0.05):
    """(cells off the level by more than 3 standard errors, cells, the rate
    farthest from the level with its law, n and m) over the size cells."""
    off, total, worst = 0, 0, None
    for (kind, law, n), cell in sorted(cells.items()):
        if kind != "size":
            continue
        for m in dimensions:
            rate, count = rate_of(cell, test, m, level)
            if rate is None:
                continue
            total += 1
            off += abs(rate - level) > 3 * se(level, count)
            if worst is None or abs(rate - level) > abs(worst[0] - level):
                worst = (rate, law, n, m)
    return off, total, worst


def headline(cells):
    """A few sentences computed from the tables: how far each size is off, and
    which permutation test has the more power how often."""
    out = []
    for test in SIZE_TESTS + ("bds_normal_05",):
        dimensions = DIMENSIONS if test != "bds_normal_05" else ALL_M
        off, total, worst = size_summary(cells, test, dimensions)
        if worst:
            law = next(x.label for x in series_models.SIZE_LAWS if x.key == worst[1])
            ms = ", ".join(str(m) for m in dimensions) if len(dimensions) < 5 else "2..10"
            out.append(f"- Size, {TEST_NAMES[test]} (m = {ms}): {off} of {total} cells lie more than 3 standard "
                       f"errors from 5 %; the farthest rejects {worst[0]:.3f} ({law}, n = {worst[2]}, "
                       f"m = {worst[3]}).")
    by_n = []
    for (kind, law, n), cell in sorted(cells.items(), key=lambda item: item[0][2]):
        if kind == "size" and law == "normal":
            rates = [rate_of(cell, "ixo_table", m, 0.05)[0] for m in DIMENSIONS]
            rates = [r for r in rates if r is not None]
            if rates:
                chosen = ", chosen" if cell.class_chosen else ""
                by_n.append(f"{max(rates):.3f} at n = {n} (class {cell.table_class}{chosen})")
    if by_n:
        out.append("- The tabulated verdict on i.i.d. normal series, the largest rate at 5 % over m = 2, 3, 5: "
                   + ", ".join(by_n) + ".")
    signs = [compare(cell, m, 0.05)[1] for (kind, _, _), cell in cells.items() if kind == "power"
             for m in DIMENSIONS]
    if signs:
        out.append(f"- Power at 5 %, permutation tests (alternative × n × m = 2, 3, 5): the Ixo test is clearly "
                   f"the better one in {signs.count(1)} of {len(signs)} cells, BDS at 1 sd in {signs.count(-1)}, "
                   f"neither in {signs.count(0)}; see the table \"Where each permutation test is the better one\".")
    return "\n".join(out) + "\n"


def write(folder, cells, meta):
    """Writes validation.md and its pictures into `folder`; returns the page's path."""
    import validation_figures

    size_png, power_png = "validation-size.png", "validation-power.png"
    validation_figures.size_figure(os.path.join(folder, size_png), cells)
    validation_figures.power_figure(os.path.join(folder, power_png), cells)
    plan = meta["plan"]
    parts = [
        "# How good is the test? Size and power beside BDS\n",
        "How often each of Ixo's tests rejects i.i.d. series (its size, which should be the level) and "
        "series with dependence (its power), beside the BDS test, in one run of "
        "`bench/size_power.py`. Every number on this page comes from that run. Back to the "
        "[README](../README.md). The family-wise rates of many p-values at once, and the "
        "adjusted and overall p-values that keep them at the level, are on "
        "[multiplicity.md](multiplicity.md).\n",
        "In short (computed from the tables below):\n",
        headline(cells),
        run_section(meta, cells),
        tests_section(plan, cells),
        size_section(cells, size_png),
        power_section(plan, cells, power_png),
        "## Reproducing\n",
        f"`{meta['command']}` on a build of commit {meta['commit']} writes this page and its pictures again, "
        "number for number: every series is drawn from its own stream of (seed, model, n, index) and every "
        "ixo_cli call is given its seed, so neither the order of the cells nor the number of threads matters.\n",
    ]
    path = os.path.join(folder, "validation.md")
    temporary = path + ".tmp"
    with open(temporary, "w") as f:
        f.write("\n".join(parts))
    os.replace(temporary, path)
    return path

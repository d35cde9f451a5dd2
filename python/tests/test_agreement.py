"""The module's numbers are ixo_cli's, bit for bit, for the same series, settings and seed.

ixo_cli's CSV holds the shortest text that reads back to each double, so
float() of a cell is the double ixo_cli computed and == compares every bit.
"""

import math

import numpy as np
import pytest

import ixo
from conftest import EXAMPLE_NAMES, example, number, run_cli


def read_series(name):
    # float() rounds correctly, as the engine's reader does.
    return [float(token) for token in example(name).read_text().split()]


def same(a, b):
    """Equal doubles, NaN equal to NaN."""
    return (math.isnan(a) and math.isnan(b)) or a == b


def split_family(rows):
    """ixo_cli's rows of one file: the members, and the row "all" of the whole family."""
    assert rows and rows[-1]["m"] == "all", rows[-1:]
    return rows[:-1], rows[-1]


def assert_column(rows, key, values, label):
    expected = [number(row[key]) for row in rows]
    got = [float(v) for v in values]
    bad = [(i, e, g) for i, (e, g) in enumerate(zip(expected, got)) if not same(e, g)]
    assert len(expected) == len(got) and not bad, f"{label} {key}: (row, ixo_cli, ixo) {bad[:3]}"


# (example, settings of ixo.test, the same as ixo_cli options)
IXO_CASES = [
    ("normal", dict(reps=199), []),
    ("garch", dict(m=6, eps=(0.25, 1.00), reps=99, seed=7), ["--m", 6, "--eps", "0.25:1", "--seed", 7]),
    ("logistic", dict(m=4, eps=(0.5, 1.5), subint=20, cm_limit=10, reps=0),
     ["--m", 4, "--eps", "0.5:1.5", "--subint", 20, "--cm-limit", 10]),
    # The sequential rule: the i.i.d. series stops early, the map runs to R.
    ("normal", dict(m=5, reps=999, sequential=5), ["--m", 5, "--sequential", 5]),
    ("logistic", dict(m=3, reps=199, sequential=2, seed=5), ["--m", 3, "--sequential", 2, "--seed", 5]),
]


@pytest.mark.parametrize("name,settings,options", IXO_CASES, ids=[c[0] for c in IXO_CASES])
def test_ixo_test_equals_ixo_cli(name, settings, options):
    rows, family = split_family(run_cli("ixo", example(name), "--reps", settings["reps"], *options)[0])
    result = ixo.test(read_series(name), **settings)
    label = f"{name} {settings}"
    assert [int(r["m"]) for r in rows] == result.m.tolist(), label
    assert [int(r["points"]) for r in rows] == result.points.tolist(), label
    assert [int(r["class"]) for r in rows] == result.size_class.tolist(), label
    assert [r["verdict"] for r in rows] == result.verdict.tolist(), label
    assert_column(rows, "ixo", result.statistic, label)
    assert_column(rows, "p_value", result.pvalue, label)
    assert_column(rows, "p_adjusted", result.p_adjusted, label)
    assert_column([family], "p_value", [result.p_overall], label)
    assert family["verdict"] == result.verdict_overall, label


def test_dimensions_without_a_value_equal_ixo_cli(tmp_path):
    # 17 values: the high dimensions have too few usable grid points.
    x = read_series("garch")[:17]
    path = tmp_path / "short.txt"
    path.write_text("".join(f"{v!r}\n" for v in x))
    rows, family = split_family(run_cli("ixo", path, "--m", 8, "--reps", 99)[0])
    result = ixo.test(x, m=8, reps=99)
    assert_column(rows, "p_adjusted", result.p_adjusted, "short")
    assert_column([family], "p_adjusted", [result.p_overall], "short")
    assert np.isnan(result.statistic).any() and not np.isnan(result.statistic).all()
    assert [r["verdict"] for r in rows] == result.verdict.tolist()
    assert_column(rows, "ixo", result.statistic, "short")
    assert_column(rows, "p_value", result.pvalue, "short")


BDS_CASES = [
    ("normal", dict(reps=99), []),
    ("garch", dict(m=5, eps=(1.5,), reps=49, seed=3), ["--m", 5, "--eps", "1.5", "--seed", 3]),
    ("logistic", dict(m=3, eps=(2.0, 0.25), reps=0), ["--m", 3, "--eps", "2,0.25"]),
    ("normal", dict(m=4, eps=(1.0, 1.5), reps=499, sequential=3), ["--m", 4, "--eps", "1,1.5", "--sequential", 3]),
]


@pytest.mark.parametrize("name,settings,options", BDS_CASES, ids=[c[0] for c in BDS_CASES])
def test_bds_equals_ixo_cli(name, settings, options):
    rows, family = split_family(run_cli("bds", example(name), "--reps", settings["reps"], *options)[0])
    result = ixo.bds(read_series(name), **settings)
    label = f"{name} {settings}"
    assert [int(r["m"]) for r in rows] == result.m.tolist(), label
    for key, values in [("eps", result.eps), ("bds", result.statistic), ("p_normal", result.pvalue_normal),
                        ("p_permutation", result.pvalue_permutation), ("p_adjusted", result.p_adjusted)]:
        assert_column(rows, key, values, label)
    assert_column([family], "p_adjusted", [result.p_overall], label)


CRITICAL_CASES = [
    (dict(n=200, m=4, reps=300), ["--n", 200, "--m", 4, "--reps", 300]),
    # Short series: some have no Ixo value at m = 8 and are counted apart.
    (dict(n=40, m=8, reps=50), ["--n", 40, "--m", 8, "--reps", 50]),
    (dict(n=120, m=3, eps=(0.25, 2.0), reps=101, seed=11),
     ["--n", 120, "--m", 3, "--eps", "0.25:2", "--reps", 101, "--seed", 11]),
]


@pytest.mark.parametrize("settings,options", CRITICAL_CASES)
def test_critical_equals_ixo_cli(settings, options):
    rows = run_cli("critical", *options)[0]
    result = ixo.critical(**settings)
    assert [int(r["m"]) for r in rows] == result.m.tolist(), settings
    for j, p in enumerate(result.percentiles):
        assert_column(rows, f"p{p:g}", result.values[:, j], str(settings))
    assert [int(r["undefined"]) for r in rows] == result.undefined.tolist(), settings


@pytest.mark.parametrize("name", EXAMPLE_NAMES)
def test_curves_equal_ixo_cli(name):
    points, fits = run_cli("curves", example(name), "--m", 5)
    result = ixo.curves(read_series(name), m=5)
    p = result.points
    assert [int(r["m"]) for r in points] == p.m.tolist(), name
    assert [int(r["k"]) for r in points] == p.k.tolist(), name
    assert [r["used"] == "1" for r in points] == p.used.tolist(), name
    # ixo_cli leaves y empty where there is no pair; the module has ln(0) = -inf.
    y = [(-math.inf if math.isnan(v) else v) for v in (number(r["y"]) for r in points)]
    assert y == p.y.tolist(), name
    for key in ("eps", "x"):
        assert_column(points, key, getattr(p, key), name)
    # ixo_cli writes the pairs as a whole number; y = ln(pairs) above is exact.
    assert [int(r["pairs"]) for r in points] == np.rint(p.pairs).astype(int).tolist(), name
    for key in ("slope", "intercept"):
        assert_column(fits, key, getattr(result.fits, key), name)
    assert [int(r["points"]) for r in fits] == result.fits.points.tolist(), name


def test_curves_slopes_are_the_test_values():
    x = read_series("garch")
    assert ixo.curves(x, m=6).fits.slope.tolist() == ixo.test(x, m=6, reps=0).statistic.tolist()


# Each function on one thread, two and one per core: the same numbers.
THREAD_CASES = [
    ("test", lambda x, t: ixo.test(x, m=5, reps=150, threads=t)),
    ("test sequential", lambda x, t: ixo.test(x, m=5, reps=400, threads=t, sequential=4)),
    ("bds", lambda x, t: ixo.bds(x, m=4, reps=150, threads=t)),
    ("bds sequential", lambda x, t: ixo.bds(x, m=4, reps=400, threads=t, sequential=4)),
    ("critical", lambda x, t: ixo.critical(150, m=4, reps=150, threads=t)),
]


@pytest.mark.parametrize("name,call", THREAD_CASES, ids=[c[0] for c in THREAD_CASES])
def test_thread_counts_agree(name, call):
    x = np.asarray(read_series("garch"))
    one = call(x, 1)
    for threads in (2, 3, None):
        assert call(x, threads) == one, f"{name} on {threads} threads"


def test_input_forms_give_the_same_numbers():
    # A list, a float32 copy of values exact in float32, and a strided view all
    # end up as the same doubles.
    x = np.asarray(read_series("normal"))
    exact = np.float32(x).astype(np.float64)
    base = ixo.test(exact, m=3, reps=49)
    for form in (exact.tolist(), tuple(exact), np.float32(x), np.repeat(exact, 2)[::2]):
        assert ixo.test(form, m=3, reps=49) == base, type(form).__name__


def test_calls_from_several_python_threads_at_once():
    # The GIL is released during the computation, so these run side by side;
    # state shared between calls would show as a difference.
    import concurrent.futures

    series = [np.asarray(read_series(name)) for name in EXAMPLE_NAMES]
    alone = [ixo.test(x, m=4, reps=60, threads=1) for x in series]
    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        together = list(pool.map(lambda x: ixo.test(x, m=4, reps=60, threads=1), series))
    assert together == alone

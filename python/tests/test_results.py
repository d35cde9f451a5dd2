"""The result objects: equality, pickling across processes, DataFrames, text and plot."""

import concurrent.futures
import doctest
import pickle

import numpy as np
import pytest

import ixo

X = np.random.default_rng(9).standard_normal(300)


def results():
    return {
        "test": ixo.test(X, m=4, reps=29),
        "test without p": ixo.test(X, m=3, reps=0),
        "bds": ixo.bds(X, m=3, eps=(0.5, 1.5), reps=19),
        "test sequential": ixo.test(X, m=3, reps=199, sequential=2),
        "critical": ixo.critical(100, m=3, reps=50),
        "curves": ixo.curves(X, m=3),
    }


@pytest.mark.parametrize("name", list(results()))
def test_pickle_round_trip(name):
    result = results()[name]
    for protocol in (2, pickle.HIGHEST_PROTOCOL):
        back = pickle.loads(pickle.dumps(result, protocol))
        assert back == result and type(back) is type(result), f"{name}, protocol {protocol}"


def _bds_in_a_process(seed):
    return ixo.bds(X, m=3, eps=(1.0,), reps=19, seed=seed)


def test_a_result_crosses_processes():
    with concurrent.futures.ProcessPoolExecutor(max_workers=2) as pool:
        remote = list(pool.map(_bds_in_a_process, [1, 2]))
    assert remote == [_bds_in_a_process(1), _bds_in_a_process(2)]


# (label, one result, another that differs in one place)
DIFFERENCES = [
    ("seed", lambda: ixo.test(X, m=3, reps=9), lambda: ixo.test(X, m=3, reps=9, seed=1)),
    ("statistic", lambda: ixo.bds(X, m=3, reps=0), lambda: ixo.bds(X * X, m=3, reps=0)),
    ("length", lambda: ixo.test(X, m=3, reps=0), lambda: ixo.test(X, m=4, reps=0)),
    ("n", lambda: ixo.critical(100, m=3, reps=20), lambda: ixo.critical(101, m=3, reps=20)),
    ("cm_limit", lambda: ixo.curves(X, m=3), lambda: ixo.curves(X, m=3, cm_limit=51)),
    ("sequential", lambda: ixo.bds(X, m=3, reps=99), lambda: ixo.bds(X, m=3, reps=99, sequential=2)),
]


@pytest.mark.parametrize("label,one,other", DIFFERENCES, ids=[d[0] for d in DIFFERENCES])
def test_unequal_results(label, one, other):
    assert one() != other(), label
    assert one() == one(), label


def test_missing_values_are_nan():
    r = ixo.test(X, m=3, reps=0)
    assert np.isnan(r.pvalue).all()
    # A series of two values, one repeated: no pair is close at the small
    # distances, so the BDS variance is 0 there (NaN), positive further out.
    y = np.r_[np.zeros(30), np.ones(30)]
    b = ixo.bds(y, m=2, eps=(0.5, 2.5), reps=9)
    assert np.isnan(b.statistic).any() and np.isnan(b.pvalue_permutation[np.isnan(b.statistic)]).all()


def test_frames_have_one_row_per_row():
    pytest.importorskip("pandas")
    r = results()
    assert list(r["test"].to_frame().columns) == [
        "m", "statistic", "points", "size_class", "verdict", "pvalue", "p_adjusted"]
    assert r["test"].to_frame().attrs == {
        "p_overall": r["test"].p_overall, "verdict_overall": r["test"].verdict_overall, "drawn": 29}
    assert r["test"].to_frame()["statistic"].tolist() == r["test"].statistic.tolist()
    assert len(r["bds"].to_frame()) == 4
    critical = r["critical"].to_frame()
    assert list(critical.columns) == ["m", "p0.5", "p1", "p2.5", "p5", "p95", "p97.5", "p99", "p99.5", "undefined"]
    assert critical["p95"].tolist() == r["critical"].values[:, 4].tolist()
    assert len(r["curves"].to_frame()) == 2 * 41


@pytest.mark.parametrize("eps", [(2.0, 0.5, 1.0), (1.0,), (1.5, 1.5)])
def test_bds_matrix_is_dimension_by_distance(eps):
    b = ixo.bds(X, m=4, eps=eps, reps=0)
    matrix = b.matrix("statistic")
    assert matrix.shape == (3, len(eps)), eps
    for i, m in enumerate((2, 3, 4)):
        assert matrix[i].tolist() == b.statistic[b.m == m].tolist(), eps


@pytest.mark.parametrize("name", list(results()))
def test_repr_shows_every_row(name):
    result = results()[name]
    text = repr(result)
    rows = len(result.fits) if name == "curves" else len(result)
    # The permutation tests add a line for the whole family.
    overall = 1 if getattr(result, "p_overall", None) is not None and result.reps else 0
    assert len(text.splitlines()) == 3 + 1 + rows + overall, text


def test_repr_of_the_curves_parts_says_their_size():
    c = ixo.curves(X, m=3)
    assert repr(c.fits) == "CurveFits(2 rows: m, slope, intercept, points)"
    assert repr(c.points).startswith("CurvePoints(82 rows: m, k, eps")


def test_repr_of_the_test_holds_its_values():
    r = ixo.test(X, m=3, reps=29)
    text = repr(r)
    for value in r.statistic:
        assert f"{value:.4f}" in text
    assert "29 permutations" in text
    assert text.endswith(f"all: overall p-value {r.p_overall:.3f}, {r.verdict_overall}"), text
    stopped = ixo.test(X, m=3, reps=999, sequential=2)
    assert stopped.drawn < 999 and f"h = 2: {stopped.drawn} drawn" in repr(stopped)


# (label, result): p_adjusted never below pvalue, p_overall its smallest value.
FAMILIES = [
    ("test", lambda: ixo.test(X, m=6, reps=99)),
    ("test sequential", lambda: ixo.test(X, m=6, reps=999, sequential=3)),
    ("bds", lambda: ixo.bds(X, m=4, eps=(0.5, 1.0, 2.0), reps=99, seed=4)),
    ("bds some nan", lambda: ixo.bds(np.r_[np.zeros(30), np.ones(30), np.full(30, 0.5)], m=3,
                                     eps=(0.3, 1.5, 2.5), reps=19)),
    ("bds all nan", lambda: ixo.bds(np.r_[np.zeros(30), np.ones(30)], m=2, eps=(0.5, 2.5), reps=19)),
]


@pytest.mark.parametrize("label,run", FAMILIES, ids=[f[0] for f in FAMILIES])
def test_adjusted_p_values_bound_the_raw_ones(label, run):
    r = run()
    raw = r.pvalue if hasattr(r, "pvalue") else r.pvalue_permutation
    assert (np.isnan(raw) == np.isnan(r.p_adjusted)).all(), label
    have = ~np.isnan(raw)
    assert (r.p_adjusted[have] >= raw[have]).all() and (r.p_adjusted[have] <= 1).all(), label
    if have.any():
        assert r.p_overall == r.p_adjusted[have].min(), label
    else:
        assert np.isnan(r.p_overall), label
    assert 0 < r.drawn <= r.reps, label


def test_without_permutations_there_is_no_overall_p_value():
    r = ixo.test(X, m=3, reps=0)
    assert np.isnan(r.p_overall) and r.verdict_overall == "unknown" and r.drawn == 0
    assert np.isnan(r.p_adjusted).all() and r == ixo.test(X, m=3, reps=0)


def test_plot_draws_each_dimension():
    matplotlib = pytest.importorskip("matplotlib")
    matplotlib.use("Agg")
    c = ixo.curves(X, m=4)
    ax = c.plot()
    # Per dimension: the used points, the unused points and the fitted line.
    assert len(ax.lines) == 3 * 3
    line = ax.lines[2]
    assert line.get_ydata()[0] == pytest.approx(c.fits.intercept[0] + c.fits.slope[0] * line.get_xdata()[0])


def test_docstring_examples_run_as_written():
    failures, tried = doctest.testmod(ixo, verbose=False)
    assert tried > 0 and failures == 0

"""What the module accepts as a series and a setting, and what it refuses with which exception."""

import numpy as np
import pytest

import ixo
from ixo import _input

GOOD = np.random.default_rng(5).standard_normal(200)

# (label, call, exception, words the message must hold)
REFUSALS = [
    ("nan", lambda: ixo.test(np.r_[GOOD[:7], np.nan, GOOD[8:]], reps=0), ValueError, "x[7] is nan"),
    ("inf in a list", lambda: ixo.bds([1.0, 2.0, float("inf"), 0.5] * 10, reps=0), ValueError, "x[2] is inf"),
    ("-inf", lambda: ixo.curves(np.r_[GOOD, -np.inf]), ValueError, "x[200] is -inf"),
    ("2-D", lambda: ixo.test(GOOD.reshape(20, 10), reps=0), ValueError, "shape (20, 10)"),
    ("too short", lambda: ixo.test(GOOD[:5], m=10, reps=0), ValueError, "needs at least 11 values"),
    ("empty", lambda: ixo.bds([], reps=0), ValueError, "there are 0"),
    ("constant", lambda: ixo.test(np.ones(100), reps=0), ValueError, "constant"),
    ("constant curves", lambda: ixo.curves([3] * 50), ValueError, "constant"),
    ("strings", lambda: ixo.test(["1", "2", "3"] * 10, reps=0), TypeError, "real numbers"),
    ("complex", lambda: ixo.test(GOOD + 1j, reps=0), TypeError, "complex"),
    ("bool", lambda: ixo.test(GOOD > 0, reps=0), TypeError, "bool"),
    ("None inside", lambda: ixo.test([1.0, None, 2.0] * 10, reps=0), TypeError, "object"),
    ("ragged", lambda: ixo.test([[1.0, 2.0], [3.0]], reps=0), TypeError, "array-like"),
    ("a scalar", lambda: ixo.test(3.0, reps=0), TypeError, "scalar"),
    ("a string", lambda: ixo.test("1 2 3", reps=0), TypeError, "str"),
    ("a dict", lambda: ixo.test({"a": 1.0}, reps=0), TypeError, "dict"),
    ("None", lambda: ixo.bds(None), TypeError, "NoneType"),
    ("an object", lambda: ixo.test(object(), reps=0), TypeError, "real numbers"),
    ("m too large", lambda: ixo.test(GOOD, m=17, reps=0), ValueError, "m must lie between 2 and 16"),
    ("m too small", lambda: ixo.bds(GOOD, m=1, reps=0), ValueError, "m must lie between 2 and 16"),
    ("m beyond int", lambda: ixo.test(GOOD, m=2**40, reps=0), ValueError, "m must lie between"),
    ("m a float", lambda: ixo.test(GOOD, m=3.0, reps=0), TypeError, "m must be an integer"),
    ("m a bool", lambda: ixo.test(GOOD, m=True, reps=0), TypeError, "not bool"),
    ("eps negative", lambda: ixo.test(GOOD, eps=(-0.5, 1.0), reps=0), ValueError, "eps"),
    ("eps nan", lambda: ixo.curves(GOOD, eps=(0.5, float("nan"))), ValueError, "eps"),
    ("eps one number", lambda: ixo.test(GOOD, eps=1.0, reps=0), TypeError, "pair"),
    ("eps three", lambda: ixo.critical(100, eps=(0.5, 1.0, 2.0)), TypeError, "pair"),
    ("eps text", lambda: ixo.test(GOOD, eps=("a", "b"), reps=0), TypeError, "eps[0] must be a real"),
    ("bds eps zero", lambda: ixo.bds(GOOD, eps=(1.0, 0.0), reps=0), ValueError, "eps[1] is 0.0"),
    ("bds eps empty", lambda: ixo.bds(GOOD, eps=(), reps=0), ValueError, "at least one"),
    ("subint 0", lambda: ixo.test(GOOD, subint=0, reps=0), ValueError, "intervals"),
    ("subint too many", lambda: ixo.curves(GOOD, subint=10001), ValueError, "intervals"),
    ("cm_limit negative", lambda: ixo.test(GOOD, cm_limit=-1, reps=0), ValueError, "Cm limit"),
    ("reps negative", lambda: ixo.test(GOOD, reps=-1), ValueError, "reps"),
    ("sequential negative", lambda: ixo.test(GOOD, reps=9, sequential=-1), ValueError, "sequential must lie"),
    ("sequential too large", lambda: ixo.bds(GOOD, reps=9, sequential=100_001), ValueError, "sequential must lie"),
    ("sequential a float", lambda: ixo.bds(GOOD, reps=9, sequential=2.0), TypeError, "sequential must be"),
    ("critical reps 0", lambda: ixo.critical(100, reps=0), ValueError, "reps"),
    ("critical n small", lambda: ixo.critical(2), ValueError, "n must lie between 3"),
    ("critical n < m + 1", lambda: ixo.critical(5, m=10, reps=10), ValueError, "needs at least 11"),
    ("seed negative", lambda: ixo.test(GOOD, seed=-1), ValueError, "seed"),
    ("seed too large", lambda: ixo.bds(GOOD, seed=2**64), ValueError, "seed"),
    ("threads 0", lambda: ixo.test(GOOD, threads=0), ValueError, "threads"),
    ("threads text", lambda: ixo.test(GOOD, threads="2"), TypeError, "threads"),
]


@pytest.mark.parametrize("label,call,error,words", REFUSALS, ids=[r[0] for r in REFUSALS])
def test_refusal(label, call, error, words):
    with pytest.raises(error) as raised:
        call()
    assert words in str(raised.value), f"{label}: {raised.value}"


def test_contiguous_float64_is_not_copied():
    assert _input.series(GOOD) is GOOD
    view = GOOD[10:50]
    assert np.shares_memory(_input.series(view), GOOD)


# (label, form of the same values) for the forms users hand in.
SAME_VALUES = [
    ("int64", np.arange(60) % 7),
    ("uint8", (np.arange(60) % 7).astype(np.uint8)),
    ("int list", [int(v) for v in np.arange(60) % 7]),
    ("float16", (np.arange(60) % 7).astype(np.float16)),
    ("fortran column", np.asfortranarray((np.arange(60) % 7).astype(float).reshape(60, 1))[:, 0]),
    ("reversed view", ((np.arange(60) % 7)[::-1]).astype(float)[::-1]),
]


@pytest.mark.parametrize("label,form", SAME_VALUES, ids=[s[0] for s in SAME_VALUES])
def test_numeric_forms_read_as_doubles(label, form):
    expected = (np.arange(60) % 7).astype(np.float64)
    got = _input.series(form)
    assert got.dtype == np.float64 and got.flags.c_contiguous, label
    assert got.tolist() == expected.tolist(), label


def test_pandas_series():
    pandas = pytest.importorskip("pandas")
    expected = ixo.test(GOOD, m=3, reps=19)
    for dtype in ("float64", "Float64"):
        s = pandas.Series(GOOD, index=np.arange(200) * 3, dtype=dtype)
        assert ixo.test(s, m=3, reps=19) == expected, dtype
    counts = pandas.Series(np.arange(60) % 7, dtype="Int64")
    assert _input.series(counts).tolist() == (np.arange(60) % 7).tolist()
    missing = pandas.Series([1.5, 2.5, None, 0.5] * 10, dtype="Float64")
    with pytest.raises(ValueError, match=r"x\[2\] is nan"):
        ixo.test(missing, reps=0)


class _Statsmodels:
    """A statsmodels results object as far as the module looks at it."""

    def __init__(self, resid):
        self.resid = resid
        self.fittedvalues = resid * 0


class _Arch:
    """An arch model result: raw and standardized residuals, NaN for the lags."""

    def __init__(self, std_resid):
        self.resid = std_resid * 2
        self.std_resid = std_resid


def test_fitted_models_give_their_residuals():
    assert ixo.test(_Statsmodels(GOOD), m=3, reps=0) == ixo.test(GOOD, m=3, reps=0)
    lagged = np.r_[np.nan, np.nan, GOOD]
    assert ixo.bds(_Arch(lagged), m=3, reps=0) == ixo.bds(GOOD, m=3, reps=0)


def test_a_nan_inside_a_models_residuals_is_named():
    inside = np.r_[np.nan, GOOD[:50], np.nan, GOOD[50:]]
    with pytest.raises(ValueError, match=r"x\[50\] is nan"):
        ixo.test(_Arch(inside), reps=0)


def test_the_module_refuses_what_the_package_would_convert():
    # The extension itself takes only contiguous float64: no silent copy.
    with pytest.raises(TypeError):
        ixo._ixo.curves(np.arange(50), 3, 0.6, 1.9, 40, 50)

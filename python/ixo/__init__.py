"""Tests of the i.i.d. hypothesis for a time series, from Ixo's engine library.

Functions
---------
test(x, ...)      the Ixo value of each embedding dimension, its tabulated
                  verdict, its exact permutation p-value and that p-value
                  adjusted over the dimensions; one overall p-value
bds(x, ...)       the BDS statistic with its normal and permutation p-values,
                  adjusted likewise
critical(n, ...)  critical values of the Ixo value simulated for any n
curves(x, ...)    the correlation integrals behind the Ixo values
merge(parts)      the Ixo test of the whole run from the parts that
                  test(..., replications=range(a, b)) gave, anywhere

Every number is the one ``ixo_cli`` prints for the same series, settings and
seed, bit for bit, on any number of threads. The computation runs without
the GIL; Ctrl+C stops a long run with KeyboardInterrupt.
"""

import numpy as np

from . import _input
from . import _ixo
from . import _parts
from ._parts import IxoPart
from ._results import BdsResult, CriticalValues, CurveFits, CurvePoints, Curves, IxoTestResult

__all__ = [
    "test",
    "merge",
    "IxoPart",
    "bds",
    "critical",
    "curves",
    "IxoTestResult",
    "BdsResult",
    "CriticalValues",
    "Curves",
    "CurvePoints",
    "CurveFits",
    "DEFAULT_SEED",
    "MAX_DIMENSION",
]

DEFAULT_SEED = _ixo.default_seed
"""The seed used when none is given, ixo_cli's default: two runs agree."""

MAX_DIMENSION = _ixo.max_dimension
"""The largest embedding dimension."""

_X_DOC = """x : array_like or fitted model
        The series: a one-dimensional list, tuple, numpy array (any integer or
        float dtype; a contiguous float64 array is not copied) or pandas
        Series of finite real numbers. A fitted model stands for its
        residuals: a statsmodels results object gives ``resid``, an arch model
        result ``std_resid`` (the standardized residuals), without the NaN a
        model leaves at the start for its lags."""

_RAISES_DOC = """Raises
    ------
    TypeError
        When `x` is no array-like of real numbers, or a setting has the wrong type.
    ValueError
        When `x` holds a NaN or infinity (the message names its index), is not
        one-dimensional, is too short for m or too flat for the grid, or a
        setting is out of range.
    KeyboardInterrupt
        On Ctrl+C; the run stops between two replications.
    MemoryError
        When memory runs out."""


def _text_column(texts):
    """A list of str (None where there is no text) as a numpy array of objects."""
    column = np.empty(len(texts), dtype=object)
    column[:] = texts
    return column


def _doc(text):
    return text.replace("{x}", _X_DOC).replace("{raises}", _RAISES_DOC)


def test(
    x,
    m=10,
    eps=(0.60, 1.90),
    subint=40,
    cm_limit=50,
    reps=999,
    seed=DEFAULT_SEED,
    threads=None,
    sequential=0,
    replications=None,
    name="series",
):
    values = _input.series(x)
    low, high = _input.eps_range(eps)
    subint = _input.integer("subint", subint)
    cm_limit = _input.integer("cm_limit", cm_limit)
    reps = _input.replications(reps)
    seed = _input.seed(seed)
    sequential = _input.sequential(sequential)
    if replications is not None:
        begin, end = _parts.range_of(replications, reps)
        if sequential:
            raise ValueError("the sequential rule needs all the replications, not a range of them")
        if not isinstance(name, str):
            raise TypeError(f"name must be a str, not {type(name).__name__}")
        text = _ixo.ixo_part(
            values, _input.integer("m", m), low, high, subint, cm_limit, reps, seed, _input.threads(threads),
            begin, end, name,
        )
        return IxoPart(text, begin, end, name)
    columns = _ixo.ixo_test(
        values, _input.integer("m", m), low, high, subint, cm_limit, reps, seed, _input.threads(threads), sequential
    )
    columns["verdict"] = _text_column(columns["verdict"])
    return IxoTestResult(
        **columns,
        n=len(values),
        eps=(low, high),
        subint=subint,
        cm_limit=cm_limit,
        reps=reps,
        seed=seed,
        sequential=sequential,
    )


test.__doc__ = _doc(
    """The Ixo test of the i.i.d. hypothesis, for embedding dimensions 2 .. m.

    The Ixo value of dimension j is the least-squares slope of the log number
    of close pairs of j-histories against the log distance, over a geometric
    grid of `subint` + 1 distances from eps[0] to eps[1] standard deviations,
    using the grid points with more than `cm_limit` close pairs. Each value
    gets the tabulated critical values' verdict and its two-sided p-value
    against `reps` random permutations of the series, exact at any n and for
    any marginal law. From the same permutations each p-value is adjusted
    over the dimensions (step-down min-p: rejecting where ``p_adjusted`` is
    at most a rejects a true i.i.d. hypothesis anywhere in the family with
    probability at most a), and ``p_overall`` is the one exact test of all
    dimensions together, ixo_cli's row "all".

    Parameters
    ----------
    {x}
    m : int
        The largest embedding dimension, 2 .. 16, at most len(x) - 1.
    eps : (float, float)
        The distance range in standard deviations of the series.
    subint : int
        The number of intervals of the distance grid, 1 .. 10000.
    cm_limit : int
        A grid point is used with more close pairs than this.
    reps : int
        The number of permutations; 0 gives the values and verdicts alone.
    seed : int
        The seed of the permutations, 0 .. 2**64 - 1.
    threads : int or None
        The number of threads; None for one per core. The results do not
        depend on it.
    sequential : int
        The tail count h of the sequential rule, 0 .. 100000: stop drawing
        permutations once every p-value is certainly above 10 % (a statistic
        stops after the first L <= 20h - 1 with h at or below it and h at or
        above it, p = min(1, 2h / L)); the others keep the p-value of all
        `reps`. 0 draws all of them.
    replications : range or None
        None runs all `reps` permutations. A range(a, b) with
        0 <= a < b <= reps runs only permutations a .. b - 1 of them and
        returns their IxoPart: merge() of parts that cover range(0, reps)
        once each gives this test's result of all `reps`, bit for bit,
        wherever the parts ran. Not with `sequential`.
    name : str
        The series' name in a part (where ixo_cli writes the file's path);
        parts merge only when they name it alike.

    Returns
    -------
    IxoTestResult
        Columns m, statistic, points, size_class, verdict, pvalue and
        p_adjusted; p_overall, verdict_overall and drawn for the family.
        With `replications`, an IxoPart instead.

    {raises}

    Examples
    --------
    >>> import numpy as np, ixo
    >>> x = np.random.default_rng(1).standard_normal(500)
    >>> r = ixo.test(x, m=4, reps=99)
    >>> r.m.tolist()
    [2, 3, 4]
    >>> bool(((r.pvalue > 0) & (r.pvalue <= 1)).all())
    True
    >>> bool((r.p_adjusted >= r.pvalue).all() and r.p_overall == r.p_adjusted.min())
    True
    """
)


def bds(x, m=10, eps=(0.5, 1.0, 1.5, 2.0), reps=999, seed=DEFAULT_SEED, threads=None, sequential=0):
    values = _input.series(x)
    distances = _input.eps_list(eps)
    reps = _input.replications(reps)
    seed = _input.seed(seed)
    sequential = _input.sequential(sequential)
    columns = _ixo.bds(values, _input.integer("m", m), distances, reps, seed, _input.threads(threads), sequential)
    return BdsResult(**columns, n=len(values), reps=reps, seed=seed, sequential=sequential)


bds.__doc__ = _doc(
    """The BDS statistic for dimensions 2 .. m at each distance.

    The statistic of ixo_engine's write mode 2 at each distance eps (in
    standard deviations of the series), with its two-sided p-value from the
    standard normal law and its two-sided permutation p-value against `reps`
    random orderings of the series, that p-value adjusted over every m and
    distance (step-down min-p) and the overall p-value of the whole family.

    Parameters
    ----------
    {x}
    m : int
        The largest embedding dimension, 2 .. 16, at most len(x) - 1.
    eps : float or sequence of float
        The distances in standard deviations, each positive.
    reps : int
        The number of permutations; 0 gives no permutation p-value.
    seed : int
        The seed of the permutations, 0 .. 2**64 - 1.
    threads : int or None
        The number of threads; None for one per core. The results do not
        depend on it.
    sequential : int
        The tail count of the sequential rule, as for test(); 0 draws all
        `reps` permutations.

    Returns
    -------
    BdsResult
        Columns m, eps, statistic, pvalue_normal, pvalue_permutation and
        p_adjusted, a row per dimension and distance (the distances in the
        given order within each dimension); NaN where the BDS variance is not
        positive. p_overall and drawn for the family.

    {raises}

    Examples
    --------
    >>> import numpy as np, ixo
    >>> x = np.random.default_rng(1).standard_normal(1000)
    >>> r = ixo.bds(x, m=3, eps=1.5, reps=0)
    >>> r.matrix("statistic").shape
    (2, 1)
    """
)


def critical(n, m=10, eps=(0.60, 1.90), subint=40, cm_limit=50, reps=20000, seed=DEFAULT_SEED, threads=None):
    n = _input.integer("n", n, 3, 10_000_000)
    low, high = _input.eps_range(eps)
    subint = _input.integer("subint", subint)
    cm_limit = _input.integer("cm_limit", cm_limit)
    reps = _input.replications(reps, 1)
    seed = _input.seed(seed)
    columns = _ixo.critical(n, _input.integer("m", m), low, high, subint, cm_limit, reps, seed, _input.threads(threads))
    return CriticalValues(
        **columns,
        n=n,
        eps=(low, high),
        subint=subint,
        cm_limit=cm_limit,
        reps=reps,
        seed=seed,
        percentiles=tuple(_ixo.percentiles),
    )


critical.__doc__ = """Critical values of the Ixo value for series of n values, simulated.

    The Ixo values of `reps` series of n independent standard normal values,
    computed as ixo_engine computes them, and their 0.5, 1, 2.5, 5, 95, 97.5,
    99 and 99.5th percentiles per dimension (the p-th of R sorted values
    interpolated linearly at position (R - 1) p / 100).

    Parameters
    ----------
    n : int
        The series' length, 3 .. 10000000.
    m, eps, subint, cm_limit, seed, threads
        As for test().
    reps : int
        The number of simulated series, at least 1.

    Returns
    -------
    CriticalValues
        Columns m and values (a row of percentiles per dimension).

    Raises
    ------
    TypeError, ValueError
        For a setting of the wrong type or out of range.
    KeyboardInterrupt
        On Ctrl+C; the run stops between two replications.

    Examples
    --------
    >>> import ixo
    >>> c = ixo.critical(300, m=3, reps=200)
    >>> c.values.shape
    (2, 8)
    """


def curves(x, m=10, eps=(0.60, 1.90), subint=40, cm_limit=50):
    values = _input.series(x)
    low, high = _input.eps_range(eps)
    subint = _input.integer("subint", subint)
    cm_limit = _input.integer("cm_limit", cm_limit)
    tables = _ixo.curves(values, _input.integer("m", m), low, high, subint, cm_limit)
    points = dict(tables["points"])
    points["used"] = points["used"].astype(bool)
    return Curves(
        CurvePoints(**points),
        CurveFits(**tables["fits"]),
        n=len(values),
        eps=(low, high),
        subint=subint,
        cm_limit=cm_limit,
    )


curves.__doc__ = _doc(
    """The correlation integrals behind the Ixo values of dimensions 2 .. m.

    For each dimension and grid point: the distance, the number of close
    pairs and their logarithms, and whether the point enters the fit; for
    each dimension the fitted line, whose slope is the Ixo value that test()
    gives for the same settings.

    Parameters
    ----------
    {x}
    m, eps, subint, cm_limit
        As for test().

    Returns
    -------
    Curves
        ``points`` (a CurvePoints) and ``fits`` (a CurveFits); ``plot()``
        draws them where matplotlib is installed.

    {raises}

    Examples
    --------
    >>> import numpy as np, ixo
    >>> x = np.random.default_rng(1).standard_normal(500)
    >>> c = ixo.curves(x, m=3)
    >>> bool((c.fits.slope == ixo.test(x, m=3, reps=0).statistic).all())
    True
    """
)


def merge(parts):
    """The Ixo test of a whole run from its parts.

    Parameters
    ----------
    parts : iterable of IxoPart or str
        The parts test(..., replications=range(a, b)) returned, or their
        texts (such as part files of ixo_cli ixo --format part), in any
        order, covering range(0, reps) once each.

    Returns
    -------
    IxoTestResult
        Exactly what test() of the whole run returns for the same series,
        settings and seed.

    Raises
    ------
    TypeError
        When a part is neither an IxoPart nor a str.
    ValueError
        With the merge's message when the parts do not make one run: parts of
        other settings, seeds or series, overlapping ranges or missing
        replications (it says which), a text cut short or altered.
    """
    columns = _ixo.ixo_merge(_parts.texts_of(parts))
    columns["verdict"] = _text_column(columns["verdict"])
    columns.pop("name")
    return IxoTestResult(**columns, sequential=0)

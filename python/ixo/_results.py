"""The results of ixo's functions: plain objects of numpy arrays.

Each result holds one array per column (one element per row, as ixo_cli
prints its rows), the settings that produced it and the numbers of the whole
family (the overall p-value) as plain numbers. A value that does not exist is
NaN in a float column or number and None in a text column.
Results compare equal when every column and setting is equal (NaN equal to
NaN), pickle by value, and turn into a pandas DataFrame with ``to_frame()``
where pandas is installed.
"""

import numpy as np

from . import _text


class _Columns:
    """Named columns of equal length, and the settings beside them."""

    _columns = ()  # the array fields, in print order
    _settings = ()  # the scalar fields
    _family = ()  # the scalar fields of the whole family, in the frame's attrs

    def __init__(self, **fields):
        names = set(self._columns + self._settings + self._family)
        missing = names - set(fields)
        extra = set(fields) - names
        if missing or extra:
            raise TypeError(f"{type(self).__name__}: missing {missing or '{}'}, unknown {extra or '{}'}")
        for name, value in fields.items():
            setattr(self, name, value)

    def __len__(self):
        return len(getattr(self, self._columns[0]))

    def __eq__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        for name in self._settings + self._family:
            if not _same_scalar(getattr(self, name), getattr(other, name)):
                return False
        return all(_same(getattr(self, n), getattr(other, n)) for n in self._columns)

    __hash__ = None

    def __repr__(self):
        return f"{type(self).__name__}({len(self)} rows: {', '.join(self._columns)})"

    def to_frame(self):
        """The columns as a pandas DataFrame, one row per element (needs pandas)."""
        try:
            import pandas
        except ImportError:
            raise ImportError("to_frame() needs pandas (Debian: python3-pandas)") from None
        frame = pandas.DataFrame({name: getattr(self, name) for name in self._columns})
        frame.attrs.update({name: getattr(self, name) for name in self._family})
        return frame

    def _rows(self, formats):
        rows = []
        for i in range(len(self)):
            rows.append([formats[n](getattr(self, n)[i]) for n in self._columns])
        return rows

    def _table(self, header, formats):
        return _text.table(header, self._rows(formats))


def _same(a, b):
    a = np.asarray(a)
    b = np.asarray(b)
    if a.shape != b.shape or a.dtype.kind != b.dtype.kind:
        return False
    if a.dtype.kind == "f":
        return bool(np.array_equal(a, b, equal_nan=True))
    return a.tolist() == b.tolist()


def _same_scalar(a, b):
    """Equal settings or family numbers, NaN equal to NaN."""
    if isinstance(a, float) and isinstance(b, float) and a != a and b != b:
        return True
    return a == b


def _permutations(result):
    """The permutations' part of the settings line: R, the sequential rule and the seed."""
    if not result.reps:
        return "no permutations"
    rule = ""
    if result.sequential:
        rule = f" (sequential rule h = {result.sequential}: {result.drawn} drawn)"
    return f"{result.reps} permutations{rule}, seed {result.seed}"


def _overall(result, verdict=None):
    """The line after the table for the whole family; empty when reps is 0."""
    if not result.reps:
        return ""
    said = f", {verdict}" if verdict else ""
    return f"\nall: overall p-value {_text.number(_float(result.p_overall), 3)}{said}"


def _float(value):
    return None if value is None else float(value)


def _integer(value):
    return str(int(value))


def _fixed(digits):
    return lambda value: _text.number(_float(value), digits)


def _general(value):
    return _text.general(_float(value))


def _word(value):
    return "-" if value is None else str(value)


class IxoTestResult(_Columns):
    """The Ixo test of one series: one row per embedding dimension.

    Attributes
    ----------
    m : ndarray of int
        The embedding dimensions, 2 .. the largest asked for.
    statistic : ndarray of float
        The Ixo value of each dimension, exactly as ixo_engine computes it;
        NaN where the dimension has none (fewer than two usable grid points,
        or flat counts: ixo_engine's "---").
    points : ndarray of int
        The grid points each value was fitted over.
    size_class : ndarray of int
        The tabulated sample size nearest to n (500, 1000 or 2500).
    verdict : ndarray of object
        The tabulated critical values' verdict ("do not reject", "reject at
        10%", ...); "no value: " and the reason where there is no value;
        "unknown" where the tables hold none for the settings, and "unknown:
        n lies more than 20 % from the class" where they do not fit n.
    pvalue : ndarray of float
        The two-sided permutation p-value of each value; NaN when reps is 0
        and where there is no value.
    p_adjusted : ndarray of float
        The p-value adjusted over the dimensions by step-down min-p, from the
        same permutations, never below `pvalue`; NaN where `pvalue` is.
    p_overall : float
        The overall p-value of all dimensions (the smallest adjusted one):
        ixo_cli's row "all"; NaN when reps is 0.
    verdict_overall : str
        Its verdict at 1, 2, 5 and 10 % ("reject at 5%", "do not reject");
        "unknown" without a p_overall.
    drawn : int
        The permutations drawn: reps, or fewer where the sequential rule stopped.
    n, eps, subint, cm_limit, reps, seed, sequential
        The series' length and the settings of the test.

    ``to_frame()`` gives the columns and keeps p_overall, verdict_overall and
    drawn in the frame's ``attrs``.
    """

    _columns = ("m", "statistic", "points", "size_class", "verdict", "pvalue", "p_adjusted")
    _settings = ("n", "eps", "subint", "cm_limit", "reps", "seed", "sequential")
    _family = ("p_overall", "verdict_overall", "drawn")

    def __repr__(self):
        header = ["m", "statistic", "points", "class", "verdict", "p-value", "adjusted"]
        formats = {
            "m": _integer,
            "statistic": _fixed(4),
            "points": _integer,
            "size_class": lambda v: "-" if v is None else _integer(v),
            "verdict": _word,
            "pvalue": _fixed(3),
            "p_adjusted": _fixed(3),
        }
        low, high = self.eps
        return (
            "Ixo test of the i.i.d. hypothesis\n"
            f"n = {self.n}, eps {low:g} to {high:g} sd, {self.subint} intervals, "
            f"Cm limit {self.cm_limit}, {_permutations(self)}\n\n"
            + self._table(header, formats)
            + _overall(self, self.verdict_overall)
        )


class BdsResult(_Columns):
    """The BDS statistic of one series: one row per dimension and distance.

    Attributes
    ----------
    m : ndarray of int
        The embedding dimension of each row, 2 .. the largest asked for.
    eps : ndarray of float
        The distance of each row, in standard deviations of the series.
    statistic : ndarray of float
        The BDS statistic; NaN where its variance is not positive.
    pvalue_normal : ndarray of float
        Its two-sided p-value from the standard normal law; NaN likewise, and
        where that law is no fair approximation (unless n >= 200 m and
        0.5 <= eps <= 2).
    pvalue_permutation : ndarray of float
        Its two-sided permutation p-value; NaN likewise, and when reps is 0.
    p_adjusted : ndarray of float
        The permutation p-value adjusted over every m and distance by
        step-down min-p, from the same permutations; NaN likewise.
    p_overall : float
        The overall p-value of the whole family (the smallest adjusted one):
        ixo_cli's row "all"; NaN when there is none.
    drawn : int
        The permutations drawn: reps, or fewer where the sequential rule stopped.
    n, reps, seed, sequential
        The series' length and the permutations' settings.

    ``to_frame()`` keeps p_overall and drawn in the frame's ``attrs``.
    """

    _columns = ("m", "eps", "statistic", "pvalue_normal", "pvalue_permutation", "p_adjusted")
    _settings = ("n", "reps", "seed", "sequential")
    _family = ("p_overall", "drawn")

    def __repr__(self):
        header = ["m", "eps", "statistic", "p normal", "p permutation", "adjusted"]
        formats = {
            "m": _integer,
            "eps": _general,
            "statistic": _fixed(4),
            "pvalue_normal": _general,
            "pvalue_permutation": _fixed(3),
            "p_adjusted": _fixed(3),
        }
        return (
            "BDS test of the i.i.d. hypothesis\n"
            f"n = {self.n}, eps in sd, {_permutations(self)}\n\n"
            + self._table(header, formats)
            + _overall(self)
        )

    def matrix(self, column="statistic"):
        """One column as a 2-D array: a row per dimension, a column per distance."""
        if column not in self._columns[2:]:
            raise ValueError(f"column must be one of {', '.join(self._columns[2:])}")
        # The rows run through every distance, as given, within each dimension.
        distances = int(np.count_nonzero(self.m == self.m[0])) if len(self) else 0
        values = np.asarray(getattr(self, column), dtype=np.float64)
        return values.reshape(-1, distances) if distances else values.reshape(0, 0)


class CriticalValues(_Columns):
    """Simulated critical values: percentiles of the Ixo value per dimension.

    Attributes
    ----------
    m : ndarray of int
        The embedding dimensions, 2 .. the largest asked for.
    values : ndarray of float, shape (len(m), len(percentiles))
        The percentiles of each dimension's simulated Ixo values, over the
        series that have one.
    undefined : ndarray of int
        The simulated series without an Ixo value in each dimension (fewer
        than two usable grid points, or flat counts), left out of its
        percentiles.
    percentiles : tuple of float
        0.5, 1, 2.5, 5, 95, 97.5, 99 and 99.5.
    n, eps, subint, cm_limit, reps, seed
        The simulated series' length and the settings.
    """

    _columns = ("m", "values", "undefined")
    _settings = ("n", "eps", "subint", "cm_limit", "reps", "seed", "percentiles")

    def to_frame(self):
        """A pandas DataFrame: columns m, p0.5, p1, ..., p99.5, undefined as ixo_cli prints them."""
        try:
            import pandas
        except ImportError:
            raise ImportError("to_frame() needs pandas (Debian: python3-pandas)") from None
        frame = pandas.DataFrame(self.values, columns=[f"p{p:g}" for p in self.percentiles])
        frame.insert(0, "m", self.m)
        frame["undefined"] = self.undefined
        return frame

    def __repr__(self):
        header = ["m"] + [f"{p:g}%" for p in self.percentiles] + ["undefined"]
        rows = [
            [str(int(m))] + [_text.number(float(v), 3) for v in row] + [str(int(u))]
            for m, row, u in zip(self.m, self.values, self.undefined)
        ]
        low, high = self.eps
        return (
            "Simulated critical values of the Ixo value\n"
            f"n = {self.n}, eps {low:g} to {high:g} sd, {self.subint} intervals, "
            f"Cm limit {self.cm_limit}, {self.reps} series, seed {self.seed}\n\n"
            + _text.table(header, rows)
        )


class CurvePoints(_Columns):
    """Every grid point of every dimension's log-log curve.

    Attributes: m, k (grid index), eps (the distance in the series' units),
    x = ln(eps / spread), pairs (close pairs), y = ln(pairs) (-inf without a
    pair), used (True where the point enters the fit).
    """

    _columns = ("m", "k", "eps", "x", "pairs", "y", "used")


class CurveFits(_Columns):
    """The fitted line of each dimension: slope (its Ixo value), intercept at
    x = 0 and the number of points it was fitted over."""

    _columns = ("m", "slope", "intercept", "points")


class Curves:
    """The correlation integrals behind the Ixo values of one series.

    Attributes
    ----------
    points : CurvePoints
        Every grid point of every dimension.
    fits : CurveFits
        The least-squares line of each dimension; its slope is the Ixo value.
    n, eps, subint, cm_limit
        The series' length and the settings.
    """

    def __init__(self, points, fits, n, eps, subint, cm_limit):
        self.points = points
        self.fits = fits
        self.n = n
        self.eps = eps
        self.subint = subint
        self.cm_limit = cm_limit

    def __eq__(self, other):
        if type(other) is not type(self):
            return NotImplemented
        return vars(self) == vars(other)

    __hash__ = None

    def to_frame(self):
        """The points as a pandas DataFrame (``fits.to_frame()`` gives the lines)."""
        return self.points.to_frame()

    def __repr__(self):
        formats = {"m": _integer, "slope": _fixed(4), "intercept": _fixed(4), "points": _integer}
        low, high = self.eps
        return (
            "Correlation integrals of the Ixo test\n"
            f"n = {self.n}, eps {low:g} to {high:g} sd, {self.subint} intervals, "
            f"Cm limit {self.cm_limit}, {len(self.points)} points\n\n"
            + self.fits._table(["m", "slope", "intercept", "points"], formats)
        )

    def plot(self, ax=None):
        """Draws ln(pairs) against ln(eps / spread) per dimension with its fitted line.

        The points that enter the fit are filled, the others hollow. Needs
        matplotlib; draws into `ax` (a new figure's axes when None) and
        returns it.
        """
        try:
            import matplotlib.pyplot as plt
        except ImportError:
            raise ImportError("plot() needs matplotlib (Debian: python3-matplotlib)") from None
        if ax is None:
            _, ax = plt.subplots()
        p = self.points
        for m, slope, intercept, _ in zip(self.fits.m, self.fits.slope, self.fits.intercept, self.fits.points):
            mine = (p.m == m) & np.isfinite(p.y)
            used = mine & p.used
            (line,) = ax.plot(p.x[used], p.y[used], "o", label=f"m = {m}")
            ax.plot(p.x[mine & ~p.used], p.y[mine & ~p.used], "o", mfc="none", color=line.get_color())
            if used.any():
                xs = np.array([p.x[used].min(), p.x[used].max()])
                ax.plot(xs, intercept + slope * xs, "-", color=line.get_color())
        ax.set_xlabel("ln(eps / spread)")
        ax.set_ylabel("ln(pairs)")
        ax.legend()
        return ax

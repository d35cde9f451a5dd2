"""What users pass, made into what the extension takes.

The series becomes a one-dimensional C-contiguous float64 array of finite
values (no copy when it already is one); the settings become plain integers
and floats in the extension's range. Every refusal is an exception that names
the argument: TypeError for what is of the wrong kind, ValueError for what is
of the right kind but unusable.
"""

import math
import numbers
import operator

import numpy as np

_INT_MAX = 2**31 - 1
_SEED_MAX = 2**64 - 1


def _fitted_residuals(x):
    """The residuals a fitted model stands for, or None for anything else.

    An arch model result gives its standardized residuals (``std_resid``), a
    statsmodels result its residuals (``resid``); the values a model could not
    fit at the start (NaN for the first lags of an autoregression) are left
    out.
    """
    if hasattr(x, "__array__") or isinstance(x, (list, tuple)):
        return None
    for name in ("std_resid", "resid"):
        residuals = getattr(x, name, None)
        if residuals is None:
            continue
        values = np.asarray(residuals)
        if values.dtype.kind == "f" and values.ndim == 1:
            missing = np.isnan(values)
            start = int(np.argmin(missing)) if not missing.all() else len(values)
            values = values[start:]
        return values
    return None


def series(x):
    """The series `x` as a contiguous float64 array of finite values.

    Takes any one-dimensional array-like of real numbers (list, tuple, numpy
    array of an integer or float dtype, pandas Series) or a fitted model (see
    _fitted_residuals). A contiguous float64 array is returned as it is.
    """
    if isinstance(x, (str, bytes, dict)) or x is None:
        raise TypeError(
            f"x must be a one-dimensional array-like of real numbers, not {type(x).__name__}"
        )
    residuals = _fitted_residuals(x)
    if residuals is not None:
        x = residuals
    # pandas' nullable numbers (Float64, Int64) come out of numpy as objects;
    # their own conversion gives the doubles, with NaN for a missing value.
    if getattr(getattr(x, "dtype", None), "kind", None) in ("i", "u", "f") and hasattr(x, "to_numpy"):
        x = x.to_numpy(dtype=np.float64, na_value=np.nan)
    try:
        values = np.asarray(x)
    except Exception as error:  # numpy's own refusal of a ragged or odd object
        raise TypeError(f"x is not an array-like of real numbers: {error}") from None
    if values.dtype.kind not in "iuf":
        raise TypeError(
            f"x must hold real numbers; {type(x).__name__} of dtype {values.dtype} does not"
        )
    if values.ndim == 0:
        raise TypeError("x must be a one-dimensional array-like of real numbers, not a scalar")
    if values.ndim != 1:
        raise ValueError(f"x must be one-dimensional; it has shape {values.shape}")
    values = np.ascontiguousarray(values, dtype=np.float64)
    finite = np.isfinite(values)
    if not finite.all():
        index = int(np.argmin(finite))
        raise ValueError(f"x[{index}] is {values[index]}: every value must be a finite number")
    return values


def integer(name, value, low=-_INT_MAX - 1, high=_INT_MAX):
    """`value` as a Python int within low..high; bool is refused."""
    if isinstance(value, bool):
        raise TypeError(f"{name} must be an integer, not bool")
    try:
        number = operator.index(value)
    except TypeError:
        raise TypeError(f"{name} must be an integer, not {type(value).__name__}") from None
    if not low <= number <= high:
        raise ValueError(f"{name} must lie between {low} and {high}; it is {number}")
    return number


def real(name, value):
    """`value` as a Python float; bool and non-numbers are refused."""
    if isinstance(value, bool) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name} must be a real number, not {type(value).__name__}")
    return float(value)


def eps_range(eps):
    """The distance range (low, high) in standard deviations."""
    if isinstance(eps, (str, bytes)) or not hasattr(eps, "__len__") or len(eps) != 2:
        raise TypeError("eps must be a pair (low, high) of distances in standard deviations")
    return real("eps[0]", eps[0]), real("eps[1]", eps[1])


def eps_list(eps):
    """The distances of the BDS statistic, in standard deviations, as a float64 array."""
    if isinstance(eps, numbers.Real) and not isinstance(eps, bool):
        eps = (eps,)
    if isinstance(eps, (str, bytes)) or not hasattr(eps, "__len__"):
        raise TypeError("eps must be a distance or a sequence of distances in standard deviations")
    values = [real(f"eps[{i}]", e) for i, e in enumerate(eps)]
    if not values:
        raise ValueError("eps must hold at least one distance")
    for i, e in enumerate(values):
        if not (e > 0 and math.isfinite(e)):
            raise ValueError(f"eps[{i}] is {e}: every distance must be positive and finite")
    return np.array(values, dtype=np.float64)


def replications(reps, low=0):
    return integer("reps", reps, low)


def seed(value):
    return integer("seed", value, 0, _SEED_MAX)


def threads(value):
    """None for one thread per core (the extension's 0), else a positive count."""
    if value is None:
        return 0
    return integer("threads", value, 1, 256)


def sequential(value):
    """The sequential rule's tail count: 0 (all reps) .. 100000, as ixo_cli's --sequential."""
    return integer("sequential", value, 0, 100_000)

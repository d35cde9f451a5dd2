"""The configurations of the size-and-power study and the rules that turn
ixo_cli's output into rejections.

A plan says how many series each cell gets. The tabulated verdict and BDS's
normal p-value cost one count per series, so they get `series` in every cell;
the permutation tests cost R + 1 counts, so they run on the first
`perm_size[n]` (size) or `perm_power[n]` (power) of those series.
"""

from dataclasses import dataclass, field, replace

LEVELS = (0.05, 0.10)
DIMENSIONS = (2, 3, 5)

# The tabulated verdicts at or beyond each level (verdicts are two-sided bands).
_TABLE_REJECTS = {
    0.05: {"reject at 5%", "reject at 2%", "reject at 1%"},
    0.10: {"reject at 10%", "reject at 5%", "reject at 2%", "reject at 1%"},
}
_TABLE_KNOWN = _TABLE_REJECTS[0.10] | {"do not reject"}


@dataclass(frozen=True)
class Plan:
    name: str
    size_ns: tuple
    power_ns: tuple
    series: dict  # n -> series per cell for the one-count tests
    perm_size: dict  # n -> series per size cell for the permutation tests
    perm_power: dict  # n -> series per power cell for the permutation tests
    size_reps: int
    power_reps: int
    other_range: str = "0.25:1.00"  # a second distance range for the Ixo permutation test
    other_range_n: int = 500
    other_range_series: int = 500
    laws: tuple = ()  # keys of the i.i.d. laws; empty: all
    alternatives: tuple = ()  # keys of the alternatives; empty: all
    notes: list = field(default_factory=list)


FULL = Plan(
    name="full",
    size_ns=(100, 250, 500, 1000, 2500),
    power_ns=(250, 500, 1000),
    series={100: 1000, 250: 1000, 500: 1000, 1000: 1000, 2500: 1000},
    perm_size={100: 1000, 250: 1000, 500: 1000, 1000: 1000, 2500: 1000},
    perm_power={250: 1000, 500: 1000, 1000: 1000},
    size_reps=39,
    power_reps=199,
    other_range_series=1000,
)

QUICK = Plan(
    name="quick",
    size_ns=(100, 250, 500, 1000, 2500),
    power_ns=(250, 500, 1000),
    series={100: 200, 250: 200, 500: 200, 1000: 200, 2500: 200},
    perm_size={100: 200, 250: 200, 500: 200, 1000: 100, 2500: 40},
    perm_power={250: 150, 500: 100, 1000: 30},
    size_reps=39,
    power_reps=199,
    other_range_series=60,
)

# A run of seconds that exercises every step (the test suite runs it).
SMOKE = Plan(
    name="smoke",
    size_ns=(100, 150),
    power_ns=(100,),
    series={100: 12, 150: 12},
    perm_size={100: 8, 150: 6},
    perm_power={100: 8},
    size_reps=19,
    power_reps=19,
    other_range_n=100,
    other_range_series=5,
    laws=("normal", "rounded"),
    alternatives=("arch", "tent"),
)

PLANS = {plan.name: plan for plan in (FULL, QUICK, SMOKE)}


def scaled(plan, fraction):
    """The plan with every series count multiplied by `fraction` (at least 10
    series a cell), named so that the page says which was run."""
    def scale(counts):
        return {n: max(10, round(c * fraction)) for n, c in counts.items()}

    return replace(plan, name=f"{plan.name} scaled by {fraction:g}", series=scale(plan.series),
                   perm_size=scale(plan.perm_size), perm_power=scale(plan.perm_power),
                   other_range_series=max(10, round(plan.other_range_series * fraction)))


def table_rejects(verdict, level):
    """Whether a tabulated verdict rejects at `level`; None for "unknown" or
    any text the tables do not give."""
    if verdict not in _TABLE_KNOWN:
        return None
    return verdict in _TABLE_REJECTS[level]


def p_rejects(p_text, level):
    """Whether a p-value (as ixo_cli prints it) rejects at `level`: p <= level,
    the rule under which a permutation p-value with (R + 1) level / 2 whole
    has exact size. None where the p-value is empty (undefined)."""
    if p_text is None or p_text.strip() == "":
        return None
    return float(p_text) <= level + 1e-12


def sequential_tail(reps):
    """The smallest tail count h of ixo_cli's --sequential rule under which its
    decisions at every level of LEVELS are those of all R permutations. The
    rule stops only once h replications lie at or below the observed value and
    h at or above it; all R then give p >= 2 (1 + h) / (R + 1), which must lie
    above the largest level. Where it does not stop, p is the fixed-R one."""
    h = 1
    while 2 * (1 + h) / (reps + 1) <= max(LEVELS) + 1e-12:
        h += 1
    return h


def exact_levels(reps):
    """Whether R permutations give exact size at every level of LEVELS with the
    two-sided p = 2 (1 + k) / (R + 1): (R + 1) level / 2 must be whole."""
    return all(abs((reps + 1) * level / 2 - round((reps + 1) * level / 2)) < 1e-9 for level in LEVELS)


class Tally:
    """Rejections of one test at one dimension in one cell."""

    def __init__(self):
        self.total = 0
        self.undefined = 0
        self.rejected = {level: 0 for level in LEVELS}

    def add(self, decisions):
        """`decisions`: level -> True, False or None (undefined: counted as not rejected)."""
        self.total += 1
        if any(d is None for d in decisions.values()):
            self.undefined += 1
        for level, d in decisions.items():
            if d:
                self.rejected[level] += 1

    def rate(self, level):
        return self.rejected[level] / self.total if self.total else float("nan")

"""The series of the size-and-power study: the i.i.d. laws under which a test
should reject at its nominal rate, and the dependent alternatives it should
detect.

Every generator takes a numpy Generator and a length n and returns n values
(float64). Each model also carries its equation as text for the study's page,
so the page and the code cannot disagree. The stochastic alternatives start at
zero and drop a burn-in of BURN_IN values; the maps start from a uniform draw
and drop the same burn-in, so every series is drawn from (close to) the
stationary law.
"""

import math
from dataclasses import dataclass
from typing import Callable

import numpy as np

BURN_IN = 500


@dataclass(frozen=True)
class Model:
    key: str  # short name, used in file names and tables
    label: str  # the name on the page
    equation: str  # the model as written on the page (Markdown)
    draw: Callable[[np.random.Generator, int], np.ndarray]


# --- i.i.d. laws ------------------------------------------------------------


def normal(rng, n):
    return rng.standard_normal(n)


def student_t3(rng, n):
    return rng.standard_t(3, n)


def uniform(rng, n):
    return rng.uniform(-1.0, 1.0, n)


def chi_square1(rng, n):
    return rng.chisquare(1, n)


def rounded_normal(rng, n):
    # A law with many ties: a standard normal rounded to the nearest half.
    return np.round(2.0 * rng.standard_normal(n)) / 2.0


# --- alternatives -------------------------------------------------------------

ARCH_OMEGA, ARCH_ALPHA = 1.0, 0.5
GARCH_OMEGA, GARCH_ALPHA, GARCH_BETA = 1.0, 0.1, 0.8
TAR_THRESHOLD, TAR_LOW, TAR_HIGH = 1.0, -0.5, 0.4
NLMA_B = 0.8
BILINEAR_B = 0.7
AR1_PHI = 0.3
LOGISTIC_R = 4.0
# The slope 2 tent map reaches 0 in binary floating point within about 55
# steps (each step shifts one bit out); slightly below 2 it stays chaotic.
TENT_MU = 1.99
# Observation noise of the noisy maps, as a multiple of the map's own sd.
MAP_NOISE = 1.0


def arch1(rng, n):
    e = rng.standard_normal(n + BURN_IN)
    x = np.empty_like(e)
    prev = 0.0
    for t in range(e.size):
        prev = math.sqrt(ARCH_OMEGA + ARCH_ALPHA * prev * prev) * e[t]
        x[t] = prev
    return x[BURN_IN:]


def garch11(rng, n):
    e = rng.standard_normal(n + BURN_IN)
    x = np.empty_like(e)
    h = GARCH_OMEGA / (1.0 - GARCH_ALPHA - GARCH_BETA)
    prev = 0.0
    for t in range(e.size):
        h = GARCH_OMEGA + GARCH_ALPHA * prev * prev + GARCH_BETA * h
        prev = math.sqrt(h) * e[t]
        x[t] = prev
    return x[BURN_IN:]


def tar1(rng, n):
    e = rng.standard_normal(n + BURN_IN)
    x = np.empty_like(e)
    prev = 0.0
    for t in range(e.size):
        phi = TAR_LOW if prev <= TAR_THRESHOLD else TAR_HIGH
        prev = phi * prev + e[t]
        x[t] = prev
    return x[BURN_IN:]


def nlma(rng, n):
    e = rng.standard_normal(n + 2)
    return e[2:] + NLMA_B * e[1:-1] * e[:-2]


def bilinear(rng, n):
    e = rng.standard_normal(n + BURN_IN)
    x = np.zeros_like(e)
    for t in range(2, e.size):
        x[t] = BILINEAR_B * x[t - 1] * e[t - 2] + e[t]
    return x[BURN_IN:]


def ar1(rng, n):
    e = rng.standard_normal(n + BURN_IN)
    x = np.empty_like(e)
    prev = 0.0
    for t in range(e.size):
        prev = AR1_PHI * prev + e[t]
        x[t] = prev
    return x[BURN_IN:]


def logistic_step(x):
    return LOGISTIC_R * x * (1.0 - x)


def tent_step(x):
    return TENT_MU * min(x, 1.0 - x)


def iterate_map(step, rng, n):
    """n values of the map after the burn-in, from a uniform start in (0, 1)."""
    x = np.empty(n + BURN_IN)
    value = rng.uniform(0.05, 0.95)
    for t in range(x.size):
        value = step(value)
        x[t] = value
    return x[BURN_IN:]


def logistic(rng, n):
    return iterate_map(logistic_step, rng, n)


def tent(rng, n):
    return iterate_map(tent_step, rng, n)


def with_noise(draw):
    def noisy(rng, n):
        x = draw(rng, n)
        return x + MAP_NOISE * x.std() * rng.standard_normal(n)

    return noisy


E = "e<sub>t</sub> i.i.d. N(0, 1)"

SIZE_LAWS = [
    Model("normal", "normal", "x<sub>t</sub> i.i.d. N(0, 1)", normal),
    Model("t3", "Student t(3)", "x<sub>t</sub> i.i.d. Student t with 3 degrees of freedom", student_t3),
    Model("uniform", "uniform", "x<sub>t</sub> i.i.d. uniform on (−1, 1)", uniform),
    Model("chisq1", "chi-square(1)", "x<sub>t</sub> i.i.d. chi-square with 1 degree of freedom (skewed)", chi_square1),
    Model("rounded", "rounded normal", "x<sub>t</sub> = round(2 z<sub>t</sub>) / 2, z<sub>t</sub> i.i.d. N(0, 1) (ties)", rounded_normal),
]

ALTERNATIVES = [
    Model("arch", "ARCH(1)",
          f"x<sub>t</sub> = h<sub>t</sub><sup>1/2</sup> e<sub>t</sub>, h<sub>t</sub> = {ARCH_OMEGA:g} + {ARCH_ALPHA:g} x<sub>t−1</sub><sup>2</sup>; {E}",
          arch1),
    Model("garch", "GARCH(1,1)",
          f"x<sub>t</sub> = h<sub>t</sub><sup>1/2</sup> e<sub>t</sub>, h<sub>t</sub> = {GARCH_OMEGA:g} + {GARCH_ALPHA:g} x<sub>t−1</sub><sup>2</sup> + {GARCH_BETA:g} h<sub>t−1</sub>; {E}",
          garch11),
    Model("tar", "TAR(1)",
          f"x<sub>t</sub> = {TAR_LOW:g} x<sub>t−1</sub> + e<sub>t</sub> if x<sub>t−1</sub> ≤ {TAR_THRESHOLD:g}, else {TAR_HIGH:g} x<sub>t−1</sub> + e<sub>t</sub>; {E}",
          tar1),
    Model("nlma", "NLMA",
          f"x<sub>t</sub> = e<sub>t</sub> + {NLMA_B:g} e<sub>t−1</sub> e<sub>t−2</sub>; {E}",
          nlma),
    Model("bilinear", "bilinear",
          f"x<sub>t</sub> = {BILINEAR_B:g} x<sub>t−1</sub> e<sub>t−2</sub> + e<sub>t</sub>; {E}",
          bilinear),
    Model("ar1", "AR(1)",
          f"x<sub>t</sub> = {AR1_PHI:g} x<sub>t−1</sub> + e<sub>t</sub>; {E}",
          ar1),
    Model("logistic", "logistic map",
          f"x<sub>t</sub> = {LOGISTIC_R:g} x<sub>t−1</sub> (1 − x<sub>t−1</sub>), x<sub>0</sub> uniform on (0.05, 0.95)",
          logistic),
    Model("logistic_noise", "logistic map + noise",
          f"y<sub>t</sub> = x<sub>t</sub> + {MAP_NOISE:g} s e<sub>t</sub>, x<sub>t</sub> the logistic map, s the sd of the x<sub>t</sub> drawn; {E}",
          with_noise(logistic)),
    Model("tent", "tent map",
          f"x<sub>t</sub> = {TENT_MU:g} min(x<sub>t−1</sub>, 1 − x<sub>t−1</sub>), x<sub>0</sub> uniform on (0.05, 0.95)",
          tent),
    Model("tent_noise", "tent map + noise",
          f"y<sub>t</sub> = x<sub>t</sub> + {MAP_NOISE:g} s e<sub>t</sub>, x<sub>t</sub> the tent map, s the sd of the x<sub>t</sub> drawn; {E}",
          with_noise(tent)),
]


def series_rng(seed, model_index, n, replication):
    """The generator of one series: its own stream of (seed, model, n,
    replication), so a series never depends on how many others are drawn
    or in which order."""
    return np.random.default_rng(np.random.SeedSequence([seed, model_index, n, replication]))

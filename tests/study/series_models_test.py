"""Properties of the study's series that a wrong formula would break."""

import os
import sys
import unittest

import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))

import series_models as sm  # noqa: E402

LONG = 200_000


def rng(stream):
    return sm.series_rng(20261210, stream, LONG, 0)


def lag1_correlation(x):
    x = x - x.mean()
    return float(np.dot(x[1:], x[:-1]) / np.dot(x, x))


class StationaryMoments(unittest.TestCase):
    # (model, statistic, expected, tolerance): each expected value follows
    # from the model's equation alone.
    def test_moments_match_the_equations(self):
        cases = [
            ("ARCH(1) variance", sm.arch1, np.var, sm.ARCH_OMEGA / (1 - sm.ARCH_ALPHA), 0.06),
            ("GARCH(1,1) variance", sm.garch11, np.var,
             sm.GARCH_OMEGA / (1 - sm.GARCH_ALPHA - sm.GARCH_BETA), 0.5),
            ("AR(1) lag-1 correlation", sm.ar1, lag1_correlation, sm.AR1_PHI, 0.01),
            ("AR(1) variance", sm.ar1, np.var, 1 / (1 - sm.AR1_PHI**2), 0.02),
            ("NLMA variance", sm.nlma, np.var, 1 + sm.NLMA_B**2, 0.03),
            ("NLMA lag-1 correlation", sm.nlma, lag1_correlation, 0.0, 0.01),
            ("logistic map mean", sm.logistic, np.mean, 0.5, 0.01),
            ("logistic map variance", sm.logistic, np.var, 1 / 8, 0.005),
            ("t(3) median", sm.student_t3, np.median, 0.0, 0.02),
            ("uniform variance", sm.uniform, np.var, 1 / 3, 0.005),
            ("chi-square(1) mean", sm.chi_square1, np.mean, 1.0, 0.02),
            ("chi-square(1) variance", sm.chi_square1, np.var, 2.0, 0.06),
        ]
        for stream, (name, draw, statistic, expected, tolerance) in enumerate(cases):
            with self.subTest(name):
                value = statistic(draw(rng(stream), LONG))
                self.assertAlmostEqual(value, expected, delta=tolerance, msg=name)


class Recursions(unittest.TestCase):
    def test_tar_uses_each_regime_slope_on_its_side_of_the_threshold(self):
        x = sm.tar1(rng(1), LONG)
        previous, current = x[:-1], x[1:]
        for name, side, slope in [("low", previous <= sm.TAR_THRESHOLD, sm.TAR_LOW),
                                  ("high", previous > sm.TAR_THRESHOLD, sm.TAR_HIGH)]:
            with self.subTest(name):
                fitted = np.polyfit(previous[side], current[side], 1)[0]
                self.assertAlmostEqual(fitted, slope, delta=0.02, msg=name)

    def test_bilinear_residual_is_the_innovation(self):
        # x_t - b x_{t-1} e_{t-2} must give back the innovations: redraw them
        # from the same stream and compare.
        stream = rng(2)
        x = sm.bilinear(stream, 1000)
        e = sm.series_rng(20261210, 2, LONG, 0).standard_normal(1000 + sm.BURN_IN)[sm.BURN_IN:]
        residual = x[2:] - sm.BILINEAR_B * x[1:-1] * e[:-2]
        np.testing.assert_allclose(residual, e[2:], atol=1e-12)

    def test_tent_map_keeps_its_fixed_point(self):
        fixed = sm.TENT_MU / (1 + sm.TENT_MU)
        self.assertAlmostEqual(sm.tent_step(fixed), fixed, delta=1e-15)
        self.assertAlmostEqual(sm.tent_step(0.25), sm.TENT_MU * 0.25, delta=1e-15)

    def test_logistic_map_keeps_its_fixed_point(self):
        fixed = 1 - 1 / sm.LOGISTIC_R
        self.assertAlmostEqual(sm.logistic_step(fixed), fixed, delta=1e-15)

    def test_maps_stay_chaotic_in_floating_point(self):
        for draw in (sm.tent, sm.logistic):
            with self.subTest(draw.__name__):
                x = draw(rng(3), 5000)
                self.assertTrue(np.all((x >= 0) & (x <= 1)))
                self.assertGreater(np.unique(x[-1000:]).size, 990)


class Streams(unittest.TestCase):
    def test_every_model_gives_n_finite_values_reproducibly(self):
        for model in sm.SIZE_LAWS + sm.ALTERNATIVES:
            with self.subTest(model.key):
                first = model.draw(sm.series_rng(7, 1, 100, 3), 100)
                again = model.draw(sm.series_rng(7, 1, 100, 3), 100)
                other = model.draw(sm.series_rng(7, 1, 100, 4), 100)
                self.assertEqual(first.shape, (100,))
                self.assertTrue(np.all(np.isfinite(first)))
                np.testing.assert_array_equal(first, again)
                self.assertFalse(np.array_equal(first, other))

    def test_rounded_normal_has_ties_on_the_half_grid(self):
        x = sm.rounded_normal(rng(4), 1000)
        np.testing.assert_array_equal(x * 2, np.round(x * 2))
        self.assertLess(np.unique(x).size, 20)

    def test_keys_are_unique(self):
        keys = [m.key for m in sm.SIZE_LAWS + sm.ALTERNATIVES]
        self.assertEqual(len(keys), len(set(keys)))


if __name__ == "__main__":
    unittest.main()

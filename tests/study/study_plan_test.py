"""The rules that turn ixo_cli's verdicts and p-values into rejections."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))

import study_plan as sp  # noqa: E402


class Rejections(unittest.TestCase):
    def test_tabulated_verdicts(self):
        # (verdict, rejected at 5 %, rejected at 10 %)
        cases = [
            ("do not reject", False, False),
            ("reject at 10%", False, True),
            ("reject at 5%", True, True),
            ("reject at 2%", True, True),
            ("reject at 1%", True, True),
            ("unknown", None, None),
            ("", None, None),
        ]
        for verdict, at5, at10 in cases:
            with self.subTest(verdict=verdict):
                self.assertEqual(sp.table_rejects(verdict, 0.05), at5, verdict)
                self.assertEqual(sp.table_rejects(verdict, 0.10), at10, verdict)

    def test_p_values_reject_at_or_below_the_level(self):
        # (p as printed, level, rejected)
        cases = [("0.05", 0.05, True), ("0.1", 0.10, True), ("0.050000000000000003", 0.05, True),
                 ("0.055", 0.05, False), ("0.1", 0.05, False), ("1", 0.10, False), ("0", 0.05, True),
                 ("", 0.05, None), ("  ", 0.10, None), (None, 0.05, None)]
        for text, level, rejected in cases:
            with self.subTest(text=text, level=level):
                self.assertEqual(sp.p_rejects(text, level), rejected)

    def test_exact_levels_of_r(self):
        cases = [(39, True), (199, True), (999, True), (19, False), (99, False), (200, False)]
        for reps, exact in cases:
            with self.subTest(reps=reps):
                self.assertEqual(sp.exact_levels(reps), exact)

    def test_sequential_tail_keeps_the_fixed_r_decisions(self):
        # (R, h): the smallest h with 2 (1 + h) / (R + 1) above 10 %.
        for reps, tail in [(39, 2), (199, 10), (999, 50), (19, 1), (9, 1)]:
            with self.subTest(reps=reps):
                self.assertEqual(sp.sequential_tail(reps), tail)

    def test_the_study_plans_use_exact_r(self):
        for plan in (sp.FULL, sp.QUICK):
            with self.subTest(plan.name):
                self.assertTrue(sp.exact_levels(plan.size_reps))
                self.assertTrue(sp.exact_levels(plan.power_reps))


class Tallies(unittest.TestCase):
    def test_undefined_counts_as_not_rejected(self):
        tally = sp.Tally()
        for decisions in ({0.05: True, 0.10: True}, {0.05: False, 0.10: True}, {0.05: None, 0.10: None},
                          {0.05: False, 0.10: False}):
            tally.add(decisions)
        self.assertEqual((tally.total, tally.undefined), (4, 1))
        self.assertEqual(tally.rate(0.05), 0.25)
        self.assertEqual(tally.rate(0.10), 0.5)

    def test_scaled_plan_keeps_at_least_ten_series(self):
        plan = sp.scaled(sp.FULL, 0.005)
        self.assertIn("scaled by 0.005", plan.name)
        self.assertEqual(min(plan.series.values()), 10)
        half = sp.scaled(sp.FULL, 0.5)
        self.assertEqual(half.series[500], sp.FULL.series[500] // 2)
        self.assertEqual(half.perm_power[1000], sp.FULL.perm_power[1000] // 2)


if __name__ == "__main__":
    unittest.main()

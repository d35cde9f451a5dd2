"""The study page's judgements: which rates are off, which test is better,
which class the window keeps."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))

import validation_page as vp  # noqa: E402
from study_runner import Cell  # noqa: E402


def cell_with(rates):
    """A cell whose tallies give `rates`: {(test, m): (rejected at 5 %, total)}."""
    cell = Cell()
    for (test, m), (rejected, total) in rates.items():
        tally = cell.tally(test, m)
        for i in range(total):
            tally.add({0.05: i < rejected, 0.10: i < rejected})
    return cell


class Judgements(unittest.TestCase):
    def test_size_marks_rates_beyond_three_standard_errors(self):
        # 3 standard errors of 5 % at N = 1000 are 0.0207.
        cases = [(0.05, 1000, "0.050"), (0.070, 1000, "0.070"), (0.071, 1000, "**0.071**"),
                 (0.030, 1000, "0.030"), (0.029, 1000, "**0.029**"), (0.30, 40, "**0.300**"),
                 (None, 0, "–")]
        for rate, count, text in cases:
            with self.subTest(rate=rate, count=count):
                self.assertEqual(vp.size_mark(rate, count, 0.05), text)

    def test_compare_names_the_better_test_only_beyond_two_standard_errors(self):
        # (Ixo rejections, BDS rejections, of so many series) -> the verdict's start
        cases = [(150, 100, 200, "Ixo +0.25"), (100, 150, 200, "BDS +0.25"), (110, 100, 200, "≈ +0.05"),
                 (200, 200, 200, "≈ +0.00"), (0, 0, 200, "≈ +0.00"), (199, 200, 1000, "≈ +0.00"),
                 (194, 200, 1000, "≈ -0.01")]
        for ixo, bds, series, text in cases:
            with self.subTest(ixo=ixo, bds=bds, series=series):
                cell = cell_with({("ixo_perm", 2): (ixo, series), ("bds_perm", 2): (bds, series)})
                self.assertEqual(vp.compare(cell, 2, 0.05)[0], text)

    def test_compare_without_both_tests_says_nothing(self):
        self.assertEqual(vp.compare(cell_with({("ixo_perm", 2): (5, 10)}), 2, 0.05), ("–", 0))

    def test_a_test_that_decided_no_series_has_no_rate(self):
        cell = Cell()
        for decisions in ({0.05: None, 0.10: None},) * 3:
            cell.tally("ixo_table", 2).add(decisions)
        self.assertEqual(vp.rate_of(cell, "ixo_table", 2, 0.05), (None, 0))
        cell.tally("ixo_table", 2).add({0.05: True, 0.10: True})
        self.assertEqual(vp.rate_of(cell, "ixo_table", 2, 0.05), (0.25, 4))

    def test_class_kept_within_twenty_percent(self):
        cases = [(399, 500, False), (400, 500, True), (600, 500, True), (601, 500, False),
                 (799, 1000, False), (800, 1000, True), (1200, 1000, True), (1201, 1000, False),
                 (1999, 2500, False), (2000, 2500, True), (3000, 2500, True), (3001, 2500, False),
                 (100, 500, False), (250, 500, False)]
        for n, table_class, kept in cases:
            with self.subTest(n=n):
                self.assertEqual(vp.near_class(n, table_class), kept)

    def test_size_summary_counts_cells_off_the_level(self):
        cells = {
            ("size", "normal", 100): cell_with({("ixo_table", m): (500, 1000) for m in (2, 3, 5)}),
            ("size", "normal", 500): cell_with({("ixo_table", m): (50, 1000) for m in (2, 3, 5)}),
            ("power", "arch", 500): cell_with({("ixo_table", 2): (900, 1000)}),
        }
        off, total, worst = vp.size_summary(cells, "ixo_table", (2, 3, 5))
        self.assertEqual((off, total), (3, 6))
        self.assertEqual(worst[:3], (0.5, "normal", 100))


if __name__ == "__main__":
    unittest.main()

#include "step_down_min_p.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "monte_carlo.h"
#include "random_stream.h"

namespace ixo {
namespace {

// Step-down min-p written out from its definition, with no shortcut: rows
// 0 .. R (row 0 observed); the extremity of a value is its p-value against its
// whole column, ties broken by its distance from the column's mean in the
// column's sd (sums taken over the sorted values, so the bits agree); for the
// member of rank i the largest, over the ranks l <= i, of its own p-value and
// of the share of rows whose most extreme value over the members of rank l and
// above is at least as extreme as the observed one of rank l.
std::vector<std::optional<double>> FromTheDefinition(const std::vector<double>& observed,
                                                     const std::vector<double>& replicated) {
  const int k = static_cast<int>(observed.size());
  const int rows = static_cast<int>(replicated.size()) / k + 1;
  const auto value = [&](int row, int j) {
    return row == 0 ? observed[j] : replicated[(row - 1) * k + j];
  };
  const auto p = [&](int row, int j) {
    const double v = value(row, j);
    if (std::isnan(v)) return 1.0;
    int at_most = 0, at_least = 0;
    for (int d = 0; d < rows; ++d) {
      at_most += value(d, j) <= v;
      at_least += value(d, j) >= v;
    }
    return std::min(1.0, 2.0 * std::min(at_most, at_least) / rows);
  };
  const auto distance = [&](int row, int j) {
    std::vector<double> present;
    for (int d = 0; d < rows; ++d)
      if (!std::isnan(value(d, j))) present.push_back(value(d, j));
    std::sort(present.begin(), present.end());
    double mean = 0, squares = 0;
    for (double v : present) mean += v;
    mean /= static_cast<double>(present.size());
    for (double v : present) squares += (v - mean) * (v - mean);
    const double sd = std::sqrt(squares / static_cast<double>(present.size()));
    const double v = value(row, j);
    return std::isnan(v) || sd == 0 ? 0.0 : std::fabs(v - mean) / sd;
  };
  // Whether value (row a, member i) is at least as extreme as (row b, member j).
  const auto at_least_as_extreme = [&](int a, int i, int b, int j) {
    return p(a, i) < p(b, j) || (p(a, i) == p(b, j) && distance(a, i) >= distance(b, j));
  };
  std::vector<int> members;
  for (int j = 0; j < k; ++j)
    if (!std::isnan(observed[j])) members.push_back(j);
  std::stable_sort(members.begin(), members.end(), [&](int a, int b) {
    return at_least_as_extreme(0, a, 0, b) && !at_least_as_extreme(0, b, 0, a);
  });
  std::vector<std::optional<double>> adjusted(k);
  for (std::size_t i = 0; i < members.size(); ++i) {
    double largest = 0;
    for (std::size_t l = 0; l <= i; ++l) {
      int count = 0;
      for (int row = 0; row < rows; ++row) {
        bool beyond = false;
        for (std::size_t m = l; m < members.size(); ++m)
          beyond = beyond || at_least_as_extreme(row, members[m], 0, members[l]);
        count += beyond;
      }
      largest = std::max({largest, p(0, members[l]), static_cast<double>(count) / rows});
    }
    adjusted[members[i]] = largest;
  }
  return adjusted;
}

TEST(StepDownMinP, StoredFamilyAsWorkedByHand) {
  // Columns A and B, R = 4. Raw p: A 2/5 (the largest of five), B 4/5.
  // Rows' (p-value numerator, distance from the mean in sd) for A: (2, 1.90)
  // observed, (2, 0.95), (4, 0.63), (5, 0.32), (4, 0); for B (mean 10.2, sd
  // 5.08): (4, 0.04), (2, 0.83), (4, 0.63), (5, 0.43), (2, 1.93).
  // B alone: rows at least as extreme as (4, 0.04): all but the fourth, 4/5.
  // Both: rows with a value at least as extreme as A's (2, 1.90): the
  // observed one and the fifth (B's 20), 2/5, A's own p-value.
  const std::vector<double> observed = {10, 10};
  const std::vector<double> replicated = {1, 6, 2, 7, 3, 8, 4, 20};
  const FamilyPValues family = StepDownMinP(observed, replicated);
  ASSERT_EQ(family.adjusted.size(), 2u);
  EXPECT_DOUBLE_EQ(family.adjusted[0].value_or(-1), 0.4);
  EXPECT_DOUBLE_EQ(family.adjusted[1].value_or(-1), 0.8);
  EXPECT_DOUBLE_EQ(family.overall.value_or(-1), 0.4);
  // A family beyond every permutation in every member, against rows each
  // below all others in one member: by p-value alone those rows tie with it
  // (4 / 20); by their distance from the mean it stays the most extreme row,
  // and the overall p-value is its raw 2 / 20.
  const std::vector<double> beyond = {100, 100, 100};
  std::vector<double> rows;
  for (int r = 0; r < 19; ++r)
    for (int j = 0; j < 3; ++j) rows.push_back(r == j ? -50.0 : static_cast<double>(r % 5));
  EXPECT_DOUBLE_EQ(StepDownMinP(beyond, rows).overall.value_or(-1), 0.1);
  // A single member: its share of rows, or its own p-value where ties make
  // the share smaller (one 1 among three 0s: share 1/4, p = 2/4).
  const FamilyPValues single = StepDownMinP(std::vector<double>{1}, std::vector<double>{0, 0, 0});
  EXPECT_DOUBLE_EQ(single.adjusted[0].value_or(-1), 0.5);
  EXPECT_DOUBLE_EQ(single.overall.value_or(-1), 0.5);
}

TEST(StepDownMinP, EmptyAndMissingMembers) {
  const FamilyPValues none = StepDownMinP(std::vector<double>{1, 2}, std::vector<double>{});
  EXPECT_EQ(none.adjusted, (std::vector<std::optional<double>>{std::nullopt, std::nullopt}));
  EXPECT_FALSE(none.overall);
  const FamilyPValues nan_member =
      StepDownMinP(std::vector<double>{NAN, 5}, std::vector<double>{1, 1, 2, 9, 3, 2});
  EXPECT_FALSE(nan_member.adjusted[0]);
  ASSERT_TRUE(nan_member.adjusted[1]);
  EXPECT_DOUBLE_EQ(*nan_member.adjusted[1], MonteCarloPValue(5, std::vector<double>{1, 9, 2}));
  EXPECT_FALSE(StepDownMinP(std::vector<double>{NAN}, std::vector<double>{1}).overall);
}

TEST(StepDownMinP, AgreesWithTheDefinitionMonotoneAndNeverBelowRaw) {
  // Random families with ties (values on a few integers), a NaN now and then
  // among the permuted values, correlated and independent members.
  for (int t = 0; t < 300; ++t) {
    RandomStream stream(77, static_cast<std::uint64_t>(t));
    const int k = 1 + static_cast<int>(stream.Below(5));
    const int replications = 1 + static_cast<int>(stream.Below(12));
    const int levels = 2 + static_cast<int>(stream.Below(8));
    std::vector<double> observed(k);
    std::vector<double> replicated(static_cast<std::size_t>(replications) * k);
    for (int row = 0; row <= replications; ++row) {
      const double shared = static_cast<double>(stream.Below(levels));
      for (int j = 0; j < k; ++j) {
        double v = t % 2 ? shared + static_cast<double>(stream.Below(2))
                         : static_cast<double>(stream.Below(levels));
        if (row > 0 && stream.Below(20) == 0) v = NAN;
        (row == 0 ? observed[j] : replicated[(row - 1) * k + j]) = v;
      }
    }
    const FamilyPValues family = StepDownMinP(observed, replicated);
    const std::vector<std::optional<double>> expected = FromTheDefinition(observed, replicated);
    ASSERT_EQ(family.adjusted.size(), expected.size());
    double smallest = 2;
    for (int j = 0; j < k; ++j) {
      ASSERT_TRUE(family.adjusted[j].has_value()) << "trial " << t << " member " << j;
      EXPECT_DOUBLE_EQ(*family.adjusted[j], *expected[j]) << "trial " << t << " member " << j;
      const std::vector<double> column = [&] {
        std::vector<double> c;
        for (int row = 0; row < replications; ++row) c.push_back(replicated[row * k + j]);
        return c;
      }();
      const double raw = MonteCarloPValue(observed[j], column);
      EXPECT_GE(*family.adjusted[j], raw) << "trial " << t << " member " << j;
      for (int i = 0; i < k; ++i) {
        std::vector<double> other;
        for (int row = 0; row < replications; ++row) other.push_back(replicated[row * k + i]);
        if (MonteCarloPValue(observed[i], other) < raw) {
          EXPECT_LE(*family.adjusted[i], *family.adjusted[j]) << "trial " << t;
        }
      }
      smallest = std::min(smallest, *family.adjusted[j]);
    }
    EXPECT_DOUBLE_EQ(family.overall.value_or(-1), smallest) << "trial " << t;
  }
}

TEST(StepDownMinP, FamilyWiseErrorAtMostNominal) {
  // Exchangeable rows (the observed one among them): five members sharing a
  // factor, R = 99. Rejecting where the overall p-value is <= a must happen
  // a of the time (three standard errors; the rows' order of extremity has no
  // ties, so the overall p-value is uniform on 2/100, 3/100, ...); the
  // smallest raw p-value alone would reject about four times as often.
  constexpr int kTrials = 3000;
  constexpr int kMembers = 5;
  constexpr int kReplications = 99;
  constexpr double kLevels[] = {0.05, 0.10, 0.20};
  int overall[3] = {};
  int any_raw[3] = {};
  for (int t = 0; t < kTrials; ++t) {
    RandomStream stream(5, static_cast<std::uint64_t>(t));
    std::vector<double> rows((kReplications + 1) * kMembers);
    for (int row = 0; row <= kReplications; ++row) {
      const double shared = stream.Normal();
      for (int j = 0; j < kMembers; ++j) rows[row * kMembers + j] = 0.5 * shared + stream.Normal();
    }
    const std::span<const double> all(rows);
    const FamilyPValues family = StepDownMinP(all.first(kMembers), all.subspan(kMembers));
    double smallest_raw = 1;
    for (int j = 0; j < kMembers; ++j) {
      std::vector<double> column;
      for (int row = 1; row <= kReplications; ++row) column.push_back(rows[row * kMembers + j]);
      smallest_raw = std::min(smallest_raw, MonteCarloPValue(rows[j], column));
    }
    for (int l = 0; l < 3; ++l) {
      overall[l] += family.overall.value_or(1) <= kLevels[l];
      any_raw[l] += smallest_raw <= kLevels[l];
    }
  }
  for (int l = 0; l < 3; ++l) {
    const double a = kLevels[l];
    const double se = std::sqrt(a * (1 - a) / kTrials);
    EXPECT_NEAR(static_cast<double>(overall[l]) / kTrials, a, 3 * se) << "a=" << a;
    EXPECT_GT(static_cast<double>(any_raw[l]) / kTrials, 2 * a) << "a=" << a;
  }
}

}  // namespace
}  // namespace ixo

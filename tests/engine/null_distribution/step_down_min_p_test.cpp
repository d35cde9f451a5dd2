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
// 0 .. R (row 0 observed), the p-value of every value against its whole
// column, and for the member of rank i the largest, over the ranks l <= i, of
// its own p-value and of the share of rows whose smallest p-value over the
// members of rank l and above is at most the observed one of rank l.
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
  std::vector<int> members;
  for (int j = 0; j < k; ++j)
    if (!std::isnan(observed[j])) members.push_back(j);
  std::stable_sort(members.begin(), members.end(), [&](int a, int b) { return p(0, a) < p(0, b); });
  std::vector<std::optional<double>> adjusted(k);
  for (std::size_t i = 0; i < members.size(); ++i) {
    double largest = 0;
    for (std::size_t l = 0; l <= i; ++l) {
      int count = 0;
      for (int row = 0; row < rows; ++row) {
        double smallest = 1;
        for (std::size_t m = l; m < members.size(); ++m)
          smallest = std::min(smallest, p(row, members[m]));
        count += smallest <= p(0, members[l]);
      }
      largest = std::max({largest, p(0, members[l]), static_cast<double>(count) / rows});
    }
    adjusted[members[i]] = largest;
  }
  return adjusted;
}

TEST(StepDownMinP, StoredFamilyAsWorkedByHand) {
  // Columns A and B, R = 4. Raw p: A 2/5 (the largest of five), B 4/5.
  // Rows' p-value numerators (A, B): (2,4) observed, (2,2), (4,4), (5,5), (4,2).
  // B alone: rows with p_B <= 4/5: all but the fourth, 4/5. Both: rows with
  // min <= 2/5: the first, second and fifth, 3/5.
  const std::vector<double> observed = {10, 10};
  const std::vector<double> replicated = {1, 6, 2, 7, 3, 8, 4, 20};
  const FamilyPValues family = StepDownMinP(observed, replicated);
  ASSERT_EQ(family.adjusted.size(), 2u);
  EXPECT_DOUBLE_EQ(family.adjusted[0].value_or(-1), 0.6);
  EXPECT_DOUBLE_EQ(family.adjusted[1].value_or(-1), 0.8);
  EXPECT_DOUBLE_EQ(family.overall.value_or(-1), 0.6);
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
  // at most a of the time (three standard errors); the smallest raw p-value
  // alone would reject about four times as often. The test is not void: at
  // 20 % it rejects.
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
    EXPECT_LE(static_cast<double>(overall[l]) / kTrials, a + 3 * se) << "a=" << a;
    EXPECT_GT(static_cast<double>(any_raw[l]) / kTrials, 2 * a) << "a=" << a;
  }
  EXPECT_GT(static_cast<double>(overall[2]) / kTrials, 0.10);
}

}  // namespace
}  // namespace ixo

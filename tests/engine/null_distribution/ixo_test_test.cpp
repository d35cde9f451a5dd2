#include "ixo_test.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "normal_series.h"
#include "permutation_tests.h"
#include "tables/critical_values.h"

namespace ixo {
namespace {

// The report is PermutationTestIxo's values with the table's verdict of each
// value to three decimals and the class of n beside them, where n lies within
// 20 % of the class; farther away the table does not hold, and says so. A
// class chosen by the caller gives its table's verdicts for any n.
TEST(IxoTest, RowsAreThePermutationTestWithItsVerdicts) {
  const struct {
    int n, chosen, nominal;
    bool fits;
  } cases[] = {{100, 0, 500, false},     {400, 0, 500, true},     {600, 0, 500, true},
               {601, 0, 500, false},     {760, 0, 1000, false},   {1200, 0, 1000, true},
               {1800, 0, 2500, false},   {2000, 0, 2500, true},   {100, 500, 500, true},
               {1200, 2500, 2500, true}, {760, 1000, 1000, true}, {600, 7, 500, true}};
  for (const auto& c : cases) {
    const std::vector<double> x = Normal(c.n, c.n);
    IxoSettings settings;
    settings.max_dimension = 4;
    const Simulation simulation{9, 3, 1, {}, {}};
    Result<IxoTestReport> report = IxoTest(x, settings, simulation);
    const Result<IxoPermutationTest> test = PermutationTestIxo(x, settings, simulation);
    ASSERT_TRUE(report.ok() && test.ok()) << c.n << ": " << report.error;
    if (c.chosen != 0) report.value = IxoReportOf(c.n, settings, *test.value, c.chosen);
    EXPECT_EQ(report.value->n, c.n);
    ASSERT_EQ(report.value->rows.size(), 3u) << c.n;
    for (std::size_t i = 0; i < 3; ++i) {
      const IxoTestRow& row = report.value->rows[i];
      const DimensionSlope& d = test.value->observed[i];
      char rounded[32];
      std::snprintf(rounded, sizeof rounded, "%.3f", d.slope);
      EXPECT_EQ(row.m, d.dimension) << c.n;
      EXPECT_EQ(row.value, d.slope) << c.n << " m=" << row.m;
      EXPECT_EQ(row.points, d.points) << c.n << " m=" << row.m;
      EXPECT_EQ(row.size_class, c.nominal) << c.n;
      const std::string table = Verdict(std::strtod(rounded, nullptr), 0, row.m, c.nominal);
      EXPECT_EQ(row.verdict, c.fits ? table : kClassMisfit) << c.n << " m=" << row.m;
      ASSERT_TRUE(row.p_value.has_value()) << c.n;
      EXPECT_EQ(*row.p_value, test.value->p_values[i]) << c.n << " m=" << row.m;
    }
  }
}

TEST(IxoTest, UnknownVerdictsAndMissingPValues) {
  const std::vector<double> x = Normal(500, 1);
  const struct {
    IxoSettings settings;
    int replications;
    int unknown_from;  // the first dimension whose verdict is "unknown"
  } cases[] = {
      {{0.60, 1.90, 40, 50, 12}, 0, 11},  // the tables end at m = 10
      {{0.60, 1.90, 41, 50, 3}, 0, 2},    // another grid
      {{0.60, 1.90, 40, 49, 3}, 0, 2},    // another Cm limit
      {{0.60, 1.80, 40, 50, 3}, 3, 2},    // another range
      {{0.25, 2.00, 40, 50, 3}, 3, 4},    // a tabulated range
  };
  for (const auto& c : cases) {
    const Result<IxoTestReport> report = IxoTest(x, c.settings, {c.replications, 1, 1, {}, {}});
    ASSERT_TRUE(report.ok()) << report.error;
    for (const IxoTestRow& row : report.value->rows) {
      EXPECT_EQ(row.verdict == "unknown", row.m >= c.unknown_from)
          << "m " << row.m << " subint " << c.settings.subint << " verdict " << row.verdict;
      EXPECT_EQ(row.p_value.has_value(), c.replications > 0) << "m " << row.m;
    }
  }
}

TEST(IxoTest, NoValueNoVerdictNoPValue) {
  // Three values have no usable grid point; 17 values none from m = 4 up; the
  // cycle 0, 1, 2 has the same count at every distance from m = 3 up (its
  // distinct 3-histories lie 2 apart). There is no statistic to hold against
  // the table or the permutations: no value, the reason as the verdict, no
  // p-value.
  std::vector<double> cycle;
  for (int i = 0; i < 300; ++i) cycle.push_back(i % 3);
  const std::string few = "no value: fewer than two usable grid points";
  const struct {
    std::vector<double> series;
    int max_dimension;
    int first_without;
    std::string verdict;
  } cases[] = {
      {{1, 2, 3}, 2, 2, few}, {Normal(17, 2), 10, 4, few}, {cycle, 4, 3, "no value: flat counts"}};
  for (const auto& c : cases) {
    IxoSettings settings;
    settings.max_dimension = c.max_dimension;
    const Result<IxoTestReport> report = IxoTest(c.series, settings, {19, 1, 1, {}, {}});
    ASSERT_TRUE(report.ok()) << report.error;
    for (const IxoTestRow& row : report.value->rows) {
      const std::string what =
          std::to_string(c.series.size()) + " values, m " + std::to_string(row.m);
      if (row.m < c.first_without) {
        EXPECT_TRUE(row.value.has_value()) << what;
        EXPECT_TRUE(row.p_value.has_value()) << what;
        continue;
      }
      EXPECT_FALSE(row.value.has_value()) << what;
      EXPECT_FALSE(row.p_value.has_value()) << what;
      EXPECT_EQ(row.verdict, c.verdict) << what;
    }
  }
}

TEST(IxoTest, FailuresAreValues) {
  const std::vector<double> constant(50, 1.0);
  EXPECT_NE(IxoTest(constant, {}, {9, 1, 1, {}, {}}).error.find("constant"), std::string::npos);
  EXPECT_NE(IxoTest(Normal(8, 1), {}, {9, 1, 1, {}, {}}).error.find("needs at least 11"),
            std::string::npos);
  // A stop request that answers true at once: no result, and no replication run.
  int replications = 0;
  const Simulation stopped{50, 1, 1, [&](int done, int) { replications = done; },
                           [] { return true; }};
  const Result<IxoTestReport> report = IxoTest(Normal(60, 2), {}, stopped);
  EXPECT_FALSE(report.ok());
  EXPECT_EQ(report.error, kInterrupted);
  EXPECT_EQ(replications, 0);
  // Under the sequential rule, drawn in blocks, the request is asked in every
  // block: a series the rule never stops for is interrupted after 25.
  std::vector<double> trend(60);
  for (std::size_t i = 0; i < trend.size(); ++i) trend[i] = static_cast<double>(i % 7) + 0.1 * i;
  Simulation blocks{999, 1, 1, [&](int done, int) { replications = done; },
                    [&] { return replications >= 25; }};
  blocks.sequential = 10;
  const Result<IxoTestReport> late = IxoTest(trend, {}, blocks);
  EXPECT_EQ(late.error, kInterrupted);
  EXPECT_EQ(replications, 25);
}

}  // namespace
}  // namespace ixo

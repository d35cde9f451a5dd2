#include "critical_simulation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tables/critical_values.h"

namespace ixo {
namespace {

// Fewer series under the sanitizers, whose build runs the counts many times
// slower; the tolerance follows the number.
#ifdef IXO_UNDER_SANITIZER
constexpr int kReplications = 60;
#else
constexpr int kReplications = 300;
#endif

TEST(SimulateCriticalValues, ReproducesTheTableAtItsClass) {
  // n = 500, the default range: the 5th and 95th percentiles of kReplications series
  // within max(4 standard errors, 0.02) of the table. The standard error of a
  // percentile is sqrt(p (1 - p) / R) / phi(z_p) sigma, sigma from the table's
  // own 5-95 band. (bench/critical_check compares every class and percentile.)
  IxoSettings settings;
  const Result<SimulatedCriticalValues> simulated =
      SimulateCriticalValues(500, settings, {kReplications, kDefaultSeed, 0, {}, {}});
  ASSERT_EQ(simulated.error, "");
  const SimulatedCriticalValues& v = *simulated.value;
  ASSERT_EQ(v.rows.size(), 9u);
  constexpr double kZ = 1.6448536;
  const double se_factor =
      std::sqrt(0.05 * 0.95 / kReplications) / (std::exp(-kZ * kZ / 2) / std::sqrt(2 * M_PI));
  for (const CriticalRow& row : v.rows) {
    const double low = CriticalValue(0, row.m, 0, 5);
    const double high = CriticalValue(0, row.m, 0, 95);
    const double tolerance = std::max(0.02, 4 * se_factor * (high - low) / (2 * kZ));
    EXPECT_NEAR(row.values[3], low, tolerance) << "m=" << row.m << " p5";
    EXPECT_NEAR(row.values[4], high, tolerance) << "m=" << row.m << " p95";
    for (std::size_t i = 1; i < row.values.size(); ++i) EXPECT_LE(row.values[i - 1], row.values[i]);
  }
}

TEST(SimulateCriticalValues, AnyThreadCountGivesTheSameValues) {
  IxoSettings settings;
  settings.max_dimension = 3;
  const auto one = SimulateCriticalValues(120, settings, {50, 3, 1, {}, {}});
  const auto two = SimulateCriticalValues(120, settings, {50, 3, 2, {}, {}});
  ASSERT_TRUE(one.ok() && two.ok());
  ASSERT_EQ(one.value->rows.size(), 2u);
  ASSERT_EQ(two.value->rows.size(), 2u);
  for (std::size_t i = 0; i < one.value->rows.size(); ++i)
    EXPECT_EQ(one.value->rows[i].values, two.value->rows[i].values);
  EXPECT_FALSE(SimulateCriticalValues(120, settings, {0, 3, 1, {}, {}}).ok());
  EXPECT_FALSE(SimulateCriticalValues(3, settings, {5, 3, 1, {}, {}}).ok());
}

TEST(SimulateCriticalValues, SeriesWithoutAValueAreCountedApart) {
  // At n = 40 some series have no Ixo value in dimension 8 (fewer than two
  // grid points with more than 50 close pairs); their +0 would pull the lower
  // percentiles to 0. The percentiles come from the others, each at least the
  // smallest value there is; the count of the rest is given. From n = 20 most
  // series have none in the higher dimensions: refused, naming the dimension.
  IxoSettings settings;
  settings.max_dimension = 8;
  const Result<SimulatedCriticalValues> values =
      SimulateCriticalValues(40, settings, {400, kDefaultSeed, 0, {}, {}});
  ASSERT_TRUE(values.ok()) << values.error;
  ASSERT_EQ(values.value->rows.size(), 7u);
  for (const CriticalRow& row : values.value->rows) {
    EXPECT_EQ(row.undefined > 0, row.m == 8) << "m " << row.m << ": " << row.undefined;
    EXPECT_GT(row.values[0], 1.0) << "m " << row.m;
  }
  EXPECT_LT(values.value->rows.back().undefined, 200);
  settings.max_dimension = 10;
  const Result<SimulatedCriticalValues> refused =
      SimulateCriticalValues(20, settings, {200, kDefaultSeed, 0, {}, {}});
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.error.find("m = 5: only"), std::string::npos) << refused.error;
}

}  // namespace
}  // namespace ixo

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

}  // namespace
}  // namespace ixo

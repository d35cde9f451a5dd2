#include "monte_carlo.h"

#include <gtest/gtest.h>

#include <vector>

namespace ixo {
namespace {

TEST(MonteCarloPValue, CountsTheObservedValueOnBothSides) {
  const std::vector<double> nine = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  struct Case {
    double observed;
    double p;
  };
  const Case cases[] = {
      {0, 0.2},    // below all: 2 * 1 / 10
      {10, 0.2},   // above all
      {2.5, 0.6},  // 2 * (1 + 2) / 10
      {8, 0.6},    // ties count on both sides: 2 * (1 + 2) / 10
      {5, 1.0},    // 2 * (1 + 5) / 10 = 1.2, capped
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(MonteCarloPValue(c.observed, nine), c.p) << c.observed;
  EXPECT_DOUBLE_EQ(MonteCarloPValue(3, std::vector<double>{3}), 1.0);
}

TEST(Percentile, InterpolatesBetweenOrderStatistics) {
  const std::vector<double> sorted = {1, 2, 3, 4, 5};
  struct Case {
    double p, value;
  };
  const Case cases[] = {{0, 1}, {100, 5}, {50, 3}, {25, 2}, {10, 1.4}, {99.5, 4.98}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Percentile(sorted, c.p), c.value) << c.p;
  EXPECT_EQ(Percentile(std::vector<double>{7}, 99.5), 7);
}

}  // namespace
}  // namespace ixo

#include "monte_carlo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>
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

TEST(TailCounts, RangesAddUpToTheWholeRunsPValue) {
  // Replicated values with ties and a NaN, split into ranges at every point.
  const std::vector<double> all = {0.3, 0.1, 0.2, 0.2, NAN, 0.5, 0.2, 0.05, 0.4};
  for (const double observed : {0.2, 0.0, 0.6, 0.35, -0.0}) {
    const TailCounts whole = CountTails(observed, all);
    for (std::size_t cut = 0; cut <= all.size(); ++cut) {
      const std::span<const double> x(all);
      const TailCounts a = CountTails(observed, x.first(cut));
      const TailCounts b = CountTails(observed, x.subspan(cut));
      EXPECT_EQ(a.at_most + b.at_most, whole.at_most) << observed << " cut " << cut;
      EXPECT_EQ(a.at_least + b.at_least, whole.at_least) << observed << " cut " << cut;
    }
    const double p = MonteCarloPValue(observed, all);
    EXPECT_EQ(PValueFromTails(whole, 9), p) << observed;  // bit for bit
  }
  const TailCounts ties = CountTails(0.2, all);
  EXPECT_EQ(ties.at_most, 5);   // 0.1, 0.2 three times, 0.05
  EXPECT_EQ(ties.at_least, 6);  // 0.3, 0.2 three times, 0.5, 0.4
  EXPECT_EQ(ties.counted, 8);   // all but the NaN
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

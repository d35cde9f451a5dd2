#include "bds.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ixo {
namespace {

TEST(IntPower, ZeroOrNegativeExponentGivesOne) {
  EXPECT_EQ(int_power(0.0, 0), 1.0);
  EXPECT_EQ(int_power(123.5, 0), 1.0);
  EXPECT_EQ(int_power(2.0, -3), 1.0);
}

TEST(IntPower, MultipliesKTimes) {
  EXPECT_EQ(int_power(2.0, 10), 1024.0);
  EXPECT_EQ(int_power(-0.5, 3), -0.125);
  EXPECT_EQ(int_power(0.1, 3), 0.1 * 0.1 * 0.1);  // same rounding as repeated products
}

TEST(BdsVariance, DimensionTwoReducesToSquare) {
  const double K = 0.28125, c = 0.5;
  EXPECT_DOUBLE_EQ(BdsVariance(K, c, 2), 4 * (K - c * c) * (K - c * c));
  EXPECT_DOUBLE_EQ(BdsVariance(K, c, 2), 0.00390625);
}

TEST(BdsVariance, DimensionOneIsZero) {
  EXPECT_EQ(BdsVariance(0.3, 0.5, 1), 0.0);
  EXPECT_EQ(BdsVariance(0.123, 0.456, 1), 0.0);
}

TEST(BdsVariance, MatchesTheClosedFormForHigherDimensions) {
  const double K = 0.2, c = 0.4;
  for (int m = 2; m <= 8; ++m) {
    double sum = 0;
    for (int j = 1; j <= m - 1; ++j) sum += std::pow(K, m - j) * std::pow(c, 2 * j);
    const double expected = 4 * (std::pow(K, m) + 2 * sum + (m - 1) * (m - 1) * std::pow(c, 2 * m) -
                                 m * m * K * std::pow(c, 2 * m - 2));
    EXPECT_NEAR(BdsVariance(K, c, m), expected, 1e-15) << "m=" << m;
  }
}

TEST(BdsRatio, WorkedExample) {
  const double ratio = bds_ratio(1.0 / 3, 1.0 / 3, 0.28125, 0.5, 2);
  EXPECT_NEAR(ratio, (1.0 / 3 - 1.0 / 9) / 0.0625, 1e-12);
  const double bds = std::sqrt(3.0) * ratio;
  char text[32];
  std::snprintf(text, sizeof text, "%lf", bds);
  EXPECT_STREQ(text, "6.158403");
  std::snprintf(text, sizeof text, "%.3f", bds);
  EXPECT_STREQ(text, "6.158");
}

TEST(BdsRatio, IndependenceGivesZero) {
  // C_m = C_1^m exactly.
  EXPECT_EQ(bds_ratio(0.5, 0.125, 0.3, 0.5, 3), 0.0);
}

TEST(BdsNormalLawHolds, FromTwoHundredValuesPerDimensionAndHalfToTwoSd) {
  struct Case {
    std::size_t n;
    int m;
    double eps;
    bool holds;
  };
  // The ends hold within rounding (a distance in the data's units over another
  // sd lands a step off them), not beyond.
  const double low = std::nextafter(0.5, 0.0);
  const double high = std::nextafter(2.0, 3.0);
  const Case cases[] = {
      {400, 2, 1.0, true},    {399, 2, 1.0, false},   {2000, 10, 0.5, true},
      {2000, 10, 2.0, true},  {1999, 10, 1.5, false}, {5000, 3, 0.49, false},
      {5000, 3, 2.01, false}, {5000, 3, 5, false},    {100000, 16, 1, true},
      {5000, 3, low, true},   {5000, 3, high, true},  {5000, 3, 0.4999999, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BdsNormalLawHolds(c.n, c.m, c.eps), c.holds)
        << "n " << c.n << " m " << c.m << " eps " << c.eps;
}

}  // namespace
}  // namespace ixo

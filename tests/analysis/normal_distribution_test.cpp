#include "analysis/normal_distribution.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <type_traits>
#include <vector>

#include "analysis/errors.h"

namespace ixo {
namespace {

TEST(NormalDensity, MatchesTheFormula) {
  for (long double x : {0.0L, 0.5L, -1.0L, 2.5L, 8.0L}) {
    const long double expected =
        std::exp(-x * x / 2) / std::sqrt(2 * std::numbers::pi_v<long double>);
    EXPECT_NEAR(static_cast<double>(NormalDensity(x)), static_cast<double>(expected), 1e-18) << x;
  }
  static_assert(std::is_same_v<decltype(NormalDensity(0.0L)), long double>);
}

TEST(NormalCdf, WithinTheApproximationsErrorOfTheExactValue) {
  for (double x = 0; x <= 6; x += 0.125) {
    const double exact = 0.5 * std::erfc(-x / std::sqrt(2.0));
    EXPECT_NEAR(NormalCdf(x).value(), exact, 7.5e-8 + 6e-8) << x;  // plus single rounding
  }
}

TEST(NormalCdf, ResultIsSinglePrecision) {
  static_assert(std::is_same_v<decltype(NormalCdf(0.0L)), std::optional<float>>);
  EXPECT_EQ(NormalCdf(0), 0.5f);
  EXPECT_EQ(NormalCdf(40), 1.0f);
}

TEST(NormalCdf, NegativeOrNaNArgumentIsAnError) {
  for (long double x : {-1e-300L, -0.5L, -std::numeric_limits<long double>::infinity(),
                        std::numeric_limits<long double>::quiet_NaN()}) {
    EXPECT_EQ(NormalCdf(x), std::nullopt) << static_cast<double>(x);
  }
  EXPECT_STREQ(kValueMustBeNonNegative, "Value must be Non-Negative");
}

std::vector<double> CurveValues(int bins) {
  std::vector<double> y;
  for (const ChartPoint& p : DrawNormalCurve(bins)) y.push_back(std::round(p.y * 1e4) / 1e4);
  return y;
}

TEST(DrawNormalCurve, ProbabilityOfEachBin) {
  EXPECT_EQ(CurveValues(9), (std::vector<double>{0.0085, 0.0380, 0.1109, 0.2108, 0.2611, 0.2108,
                                                 0.1109, 0.0380, 0.0085}));
  EXPECT_EQ(CurveValues(1), (std::vector<double>{0.9973}));
  EXPECT_EQ(CurveValues(2), (std::vector<double>{0.4987, 0.4987}));
  EXPECT_TRUE(DrawNormalCurve(0).empty());
  EXPECT_TRUE(DrawNormalCurve(-4).empty());
}

TEST(DrawNormalCurve, PointsSitAtBinCentresAndAddUpToTheMassWithinThreeDeviations) {
  for (int bins : {1, 6, 9, 47, 50}) {
    const std::vector<ChartPoint> curve = DrawNormalCurve(bins);
    ASSERT_EQ(curve.size(), static_cast<size_t>(bins));
    double total = 0;
    for (int k = 1; k <= bins; ++k) {
      const ChartPoint& p = curve[static_cast<size_t>(k - 1)];
      EXPECT_NEAR(p.x, -3 + 6.0 * (k - 0.5) / bins, 1e-12) << bins << " bins, bin " << k;
      EXPECT_GT(p.y, 0) << bins << " bins, bin " << k;
      total += p.y;
    }
    EXPECT_NEAR(total, 0.9973, 5e-5) << bins << " bins";
  }
}

}  // namespace
}  // namespace ixo

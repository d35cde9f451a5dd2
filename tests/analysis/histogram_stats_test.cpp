#include "analysis/histogram_stats.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/errors.h"

namespace ixo {
namespace {

TEST(ComputeMoments, DivisorNAndRawKurtosis) {
  struct Case {
    std::vector<double> values;
    double mean, sd, skewness, kurtosis, bera_jarque;
  };
  const Case cases[] = {
      // d = -1.5 .. 1.5: S2 = 5, S4 = 10.25, so sd = sqrt(1.25), kurtosis 1.64.
      {{1, 2, 3, 4}, 2.5, std::sqrt(1.25), 0, 1.64, 4.0 / 6 * (1.36 * 1.36 / 4)},
      // Two points: sd is half the distance, kurtosis 1.
      {{-1, 1}, 0, 1, 0, 1, 2.0 / 6 * (4.0 / 4)},
      // d = -1, -1, -1, 3: S2 = 12, S3 = 24, S4 = 84.
      {{0, 0, 0, 4},
       1,
       std::sqrt(3.0),
       24 / (4 * std::pow(3.0, 1.5)),
       84.0 / (4 * 9),
       4.0 / 6 * (std::pow(24 / (4 * std::pow(3.0, 1.5)), 2) + std::pow(84.0 / 36 - 3, 2) / 4)},
  };
  for (const Case& c : cases) {
    const MomentsResult result = ComputeMoments(c.values);
    const SeriesMoments& m = result.moments;
    const std::string input = ::testing::PrintToString(c.values);
    ASSERT_EQ(result.error, nullptr) << input;
    EXPECT_NEAR(m.mean, c.mean, 1e-12) << input;
    EXPECT_NEAR(m.standard_deviation, c.sd, 1e-12) << input;
    EXPECT_NEAR(m.skewness, c.skewness, 1e-12) << input;
    EXPECT_NEAR(m.kurtosis, c.kurtosis, 1e-12) << input;
    EXPECT_NEAR(m.bera_jarque, c.bera_jarque, 1e-12) << input;
  }
}

TEST(ComputeMoments, AnyScaleGivesTheSameShape) {
  // Skewness and kurtosis do not depend on the unit, and the sd scales with
  // it, down to series whose fourth powers (and squares) leave the doubles.
  const std::vector<double> one = {0, 0, 0, 4};
  const SeriesMoments expected = ComputeMoments(one).moments;
  for (double scale : {1e-30, 1e-80, 1e-161, 1e-200, 1e-300, 1e50}) {
    std::vector<double> scaled;
    for (double v : one) scaled.push_back(v * scale);
    const MomentsResult result = ComputeMoments(scaled);
    ASSERT_EQ(result.error, nullptr) << "scale " << scale << ": " << result.error;
    EXPECT_NEAR(result.moments.standard_deviation / scale, expected.standard_deviation, 1e-14)
        << "scale " << scale;
    EXPECT_NEAR(result.moments.skewness, expected.skewness, 1e-14) << "scale " << scale;
    EXPECT_NEAR(result.moments.kurtosis, expected.kurtosis, 1e-14) << "scale " << scale;
    EXPECT_NEAR(result.moments.bera_jarque, expected.bera_jarque, 1e-13) << "scale " << scale;
  }
}

TEST(ComputeMoments, ZStatistics) {
  const SeriesMoments m = ComputeMoments(std::vector<double>{0, 0, 0, 4}).moments;
  EXPECT_NEAR(SkewnessZ(m, 4), std::sqrt(4 / 6.0) * m.skewness, 1e-15);
  EXPECT_NEAR(KurtosisZ(m, 4), std::sqrt(4 / 24.0) * (m.kurtosis - 3), 1e-15);
}

void ExpectError(const std::vector<double>& values, const std::string& message) {
  const MomentsResult result = ComputeMoments(values);
  ASSERT_NE(result.error, nullptr) << "no error for " << ::testing::PrintToString(values);
  EXPECT_EQ(result.error, message) << ::testing::PrintToString(values);
}

TEST(ComputeMoments, NothingToStandardizeByIsAnInvalidOperation) {
  ExpectError({}, "Invalid floating point operation");
  ExpectError({5}, "Invalid floating point operation");
  ExpectError({-2.5, -2.5, -2.5}, "Invalid floating point operation");
  // The mean of three 0.1s is a rounding step above 0.1; the series is still
  // constant and has no skewness or kurtosis.
  ExpectError({0.1, 0.1, 0.1}, "Invalid floating point operation");
  ExpectError({0.7, 0.7, 0.7, 0.7, 0.7, 0.7, 0.7}, "Invalid floating point operation");
}

TEST(ComputeMoments, ResultsBeyondTheDoubleRangeAreErrors) {
  ExpectError({1e308, 1e308}, "Floating point overflow");    // the sum
  ExpectError({-1e200, 1e200}, "Floating point overflow");   // the squares
  ExpectError({0, 0, 0, 1e100}, "Floating point overflow");  // the fourth powers
}

TEST(ZStatisticHint, ThreeDecimalsUnderEitherSeparator) {
  EXPECT_EQ(ZStatisticHint(-0.5553, '.'),
            "Statistics: -0.555 Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)");
  EXPECT_EQ(ZStatisticHint(2.5, ','),
            "Statistics: 2,500 Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)");
}

}  // namespace
}  // namespace ixo

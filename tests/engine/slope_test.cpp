#include "slope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ixo {
namespace {

TEST(FitSlope, ExactLine) {
  const std::vector<double> x = {1, 2, 3, 4};
  const std::vector<double> y = {3, 5, 7, 9};
  EXPECT_DOUBLE_EQ(FitSlope(x, y), 2.0);
}

TEST(FitSlope, LeastSquares) {
  const std::vector<double> x = {0, 1, 2};
  const std::vector<double> y = {0, 2, 1};
  EXPECT_DOUBLE_EQ(FitSlope(x, y), 0.5);  // Sxy = 1, Sxx = 2
}

TEST(FitSlope, NoSlopeGivesPositiveZero) {
  struct Case {
    std::vector<double> x, y;
    const char* what;
  };
  const Case cases[] = {
      {{}, {}, "no point"},
      {{1.5}, {1.5}, "one point: 0 / 0 otherwise"},
      {{2, 2, 2}, {1, 2, 3}, "equal x: Sxx = 0"},
      // The mean of three 0.1 is 0.1 + 2^-56: Sxx and Sxy are residues, their
      // ratio a large number of either sign.
      {{0.1, 0.1, 0.1}, {1, 2, 4}, "equal x, mean off by a rounding residue"},
      {{1, 2, 4}, {0.1, 0.1, 0.1}, "equal y (a flat count), mean off by a residue"},
  };
  for (const Case& c : cases) {
    const double slope = FitSlope(c.x, c.y);
    EXPECT_EQ(slope, 0.0) << c.what;
    EXPECT_FALSE(std::signbit(slope)) << c.what;  // -0 would be written as -0.000
  }
}

}  // namespace
}  // namespace ixo

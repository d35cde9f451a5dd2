#include "slope.h"

#include <gtest/gtest.h>

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

TEST(FitSlope, NoSlopeGivesZero) {
  EXPECT_EQ(FitSlope({}, {}), 0.0);
  const std::vector<double> one = {1.5};
  EXPECT_EQ(FitSlope(one, one), 0.0);  // 0 / 0 otherwise
  const std::vector<double> flat_x = {2, 2, 2};
  const std::vector<double> y = {1, 2, 3};
  EXPECT_EQ(FitSlope(flat_x, y), 0.0);  // Sxx = 0
}

}  // namespace
}  // namespace ixo

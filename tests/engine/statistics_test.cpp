#include "statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace ixo {
namespace {

TEST(Describe, WorkedExample) {
  const std::vector<double> x = {1, 2, 3, 10};
  const Statistics s = Describe(x);
  EXPECT_DOUBLE_EQ(s.mean, 4.0);
  EXPECT_DOUBLE_EQ(s.sd, std::sqrt(50.0 / 3.0));  // squares 9 + 4 + 1 + 36, divisor n - 1
  EXPECT_EQ(s.minimum, 1.0);
  EXPECT_EQ(s.maximum, 10.0);
  EXPECT_EQ(s.spread, 9.0);
}

TEST(Describe, MinimumAndMaximumAnywhere) {
  const std::vector<double> x = {0.5, -3, 7, 2};
  const Statistics s = Describe(x);
  EXPECT_EQ(s.minimum, -3.0);
  EXPECT_EQ(s.maximum, 7.0);
  EXPECT_EQ(s.spread, 10.0);
}

TEST(Describe, ConstantSeriesHasZeroSd) {
  const std::vector<double> x = {2.5, 2.5, 2.5};
  const Statistics s = Describe(x);
  EXPECT_EQ(s.sd, 0.0);
  EXPECT_EQ(s.spread, 0.0);
}

}  // namespace
}  // namespace ixo

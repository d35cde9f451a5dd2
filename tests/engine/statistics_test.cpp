#include "statistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
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

// The first 300 values of the normal example, each times `scale`.
std::vector<double> ScaledNormal(double scale) {
  std::ifstream in(IXO_EXAMPLES_DIR "/normal.txt");
  std::vector<double> x;
  for (double v; x.size() < 300 && in >> v;) x.push_back(v * scale);
  return x;
}

TEST(Describe, SdScalesWithTheSeriesDownToTheSmallestDoubles) {
  // Squares of deviations near 1e-161 and below fall out of the normal doubles;
  // the sd must not (the grid, and so the Ixo value, is built from it).
  const Statistics one = Describe(ScaledNormal(1));
  ASSERT_GT(one.sd, 0.5);
  for (double scale : {1e-100, 1e-154, 1e-161, 1e-162, 1e-200, 1e-300, 1e-305, 1e100, 1e150}) {
    const Statistics s = Describe(ScaledNormal(scale));
    EXPECT_NEAR(s.sd / scale, one.sd, 1e-14 * one.sd) << "scale " << scale;
    EXPECT_NEAR(s.spread / scale, one.spread, 1e-14 * one.spread) << "scale " << scale;
  }
}

TEST(Describe, PowerOfTwoScalesGiveTheSdScaledExactly) {
  // Multiplying by 2^e changes no digit, so neither may the sd, whether its
  // squares stay normal (e = 200, -400) or fall below (e = -520, -1000).
  const Statistics one = Describe(ScaledNormal(1));
  for (int e : {200, -400, -520, -600, -1000}) {
    const Statistics s = Describe(ScaledNormal(std::ldexp(1.0, e)));
    EXPECT_EQ(s.sd, std::ldexp(one.sd, e)) << "2^" << e;
    EXPECT_EQ(s.mean, std::ldexp(one.mean, e)) << "2^" << e;
  }
}

TEST(Describe, OrdinarySeriesKeepThePlainTwoPassSums) {
  // What the report and output.tmp of every ordinary series rest on: the sum of
  // (v - mean)^2 in the order of the positions, even with a deviation whose
  // square underflows beside normal ones.
  const std::vector<std::vector<double>> series = {
      ScaledNormal(1), ScaledNormal(1e-150), {1, 2, 3, 10}, {0, 1e-170, 1, -1, 0.5}};
  for (const std::vector<double>& x : series) {
    double sum = 0;
    for (double v : x) sum += v;
    const double mean = sum / static_cast<double>(x.size());
    double squares = 0;
    for (double v : x) squares += (v - mean) * (v - mean);
    EXPECT_EQ(Describe(x).sd, std::sqrt(squares / static_cast<double>(x.size() - 1)))
        << x.size() << " values from " << x[0];
  }
}

}  // namespace
}  // namespace ixo

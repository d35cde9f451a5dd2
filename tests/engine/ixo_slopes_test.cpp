#include "ixo_slopes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "correlation_integrals.h"
#include "statistics.h"

namespace ixo {
namespace {

std::vector<double> Series(int n) {
  // A deterministic, irregular series (no library random numbers).
  std::vector<double> x(n);
  double v = 0.3;
  for (double& e : x) e = v = 4 * v * (1 - v);
  return x;
}

std::vector<double> ReadExample(const std::string& name) {
  std::ifstream in(std::string(IXO_EXAMPLES_DIR) + "/" + name);
  std::vector<double> x;
  for (double v; in >> v;) x.push_back(v);
  return x;
}

TEST(ClosePairs, IsTheIntegralTimesThePairsOfHistories) {
  EXPECT_EQ(ClosePairs(4, 2, 1.0 / 3.0), 2 * (1.0 / 3.0) * 3 * 0.5);
  EXPECT_EQ(ClosePairs(1000, 2, 1.0), 999.0 * 998 / 2);
}

TEST(IxoSlopes, CmLimitTooHighLeavesNoUsablePoint) {
  const std::vector<double> x = Series(60);
  const Statistics s = Describe(x);
  const SlopeInput input{x, DistanceGrid(0.6, 1.9, s.sd, 40), s.spread, 1000000};
  const std::vector<DimensionSlope> slopes = IxoSlopes(input, 2, 4);
  ASSERT_EQ(slopes.size(), 3u);
  for (const DimensionSlope& d : slopes) {
    EXPECT_EQ(d.slope, 0.0) << d.dimension;
    EXPECT_EQ(d.points, 0) << d.dimension;
  }
  release_tables();
}

TEST(IxoSlopes, DownwardGridGivesTheSwappedSlope) {
  const std::vector<double> x = Series(200);
  const Statistics s = Describe(x);
  const auto up = IxoSlopes({x, DistanceGrid(0.6, 1.9, s.sd, 40), s.spread, 50}, 2, 5);
  const auto down = IxoSlopes({x, DistanceGrid(1.9, 0.6, s.sd, 40), s.spread, 50}, 2, 5);
  ASSERT_EQ(up.size(), down.size());
  for (size_t i = 0; i < up.size(); ++i) {
    EXPECT_GT(up[i].slope, 0);
    EXPECT_NEAR(up[i].slope, down[i].slope, 1e-9) << up[i].dimension;
    EXPECT_EQ(up[i].points, down[i].points);
  }
  release_tables();
}

TEST(IxoSlopes, FlatGridOrFlatCountHasNoSlope) {
  // Equal grid distances (equal x), or a count that does not change over the
  // grid (equal y): slope +0 and every grid point usable, whatever residue the
  // means leave. The series 0, 1, 2, 0, 1, 2, ... has no close pair of distinct
  // 3-histories below a distance of 2.
  std::vector<double> cycle(300);
  for (size_t i = 0; i < cycle.size(); ++i) cycle[i] = static_cast<double>(i % 3);
  struct Case {
    std::vector<double> series;
    double eps_low, eps_high;
    int subint, cm_limit, first, last;
  };
  const Case cases[] = {
      {Series(100), 1.0, 1.0, 10, 0, 2, 2},
      {ReadExample("normal.txt"), 0.5, 0.5, 200, 1, 2, 6},
      {cycle, 0.6, 1.9, 40, 50, 3, 10},
  };
  for (const Case& c : cases) {
    const Statistics s = Describe(c.series);
    const SlopeInput input{c.series, DistanceGrid(c.eps_low, c.eps_high, s.sd, c.subint), s.spread,
                           c.cm_limit};
    for (const DimensionSlope& d : IxoSlopes(input, c.first, c.last)) {
      EXPECT_EQ(d.points, c.subint + 1) << c.subint << " j=" << d.dimension;
      EXPECT_EQ(d.slope, 0.0) << c.subint << " j=" << d.dimension;
      EXPECT_FALSE(std::signbit(d.slope)) << c.subint << " j=" << d.dimension;
    }
  }
}

TEST(IxoSlopes, MatchesADirectRegression) {
  const std::vector<double> x = Series(120);
  const Statistics s = Describe(x);
  const DistanceGrid grid(0.5, 1.5, s.sd, 8);
  const auto slopes = IxoSlopes({x, grid, s.spread, 20}, 3, 3);
  // ln(pairs) against ln(eps / spread) over the points with more than 20 pairs.
  std::vector<double> lx, ly;
  for (int k = 0; k <= 8; ++k) {
    const double pairs =
        ClosePairs(120, 3, correlation_integrals(x, 3, grid.Point(k)).integrals[3]);
    if (pairs <= 20) continue;
    lx.push_back(std::log(grid.Point(k) / s.spread));
    ly.push_back(std::log(pairs));
  }
  double mx = 0, my = 0;
  for (size_t i = 0; i < lx.size(); ++i) mx += lx[i] / lx.size(), my += ly[i] / ly.size();
  double sxy = 0, sxx = 0;
  for (size_t i = 0; i < lx.size(); ++i)
    sxy += (lx[i] - mx) * (ly[i] - my), sxx += (lx[i] - mx) * (lx[i] - mx);
  ASSERT_EQ(slopes.size(), 1u);
  EXPECT_EQ(slopes[0].points, static_cast<int>(lx.size()));
  EXPECT_NEAR(slopes[0].slope, sxy / sxx, 1e-12);
  release_tables();
}

TEST(IxoSlopes, BothCountingPathsGiveTheSameResults) {
  // The pair counts against the kernel, per dimension: slope to the last bit
  // and number of usable points, hence the same report. Write mode 0 visits
  // dimensions first..last, write mode 1 the top one alone (first = last).
  struct Case {
    const char* series;  // an example file, or "" for a short synthetic series
    double eps_low, eps_high;
    int subint, cm_limit, first, last;
  };
  const Case cases[] = {
      {"normal.txt", 0.25, 1.00, 40, 50, 2, 10},
      {"normal.txt", 0.60, 1.90, 40, 50, 7, 7},
      {"garch.txt", 0.60, 1.90, 40, 50, 2, 5},
      {"garch.txt", 1.90, 0.60, 40, 50, 10, 10},
      {"logistic.txt", 0.25, 2.00, 40, 50, 2, 5},
      {"logistic.txt", 0.50, 1.50, 40, 50, 4, 4},
      {"", 0.25, 1.00, 1, 50, 2, 4},
      {"", 0.50, 1.50, 40, 0, 16, 16},
  };
  for (const Case& c : cases) {
    const std::string name = c.series;
    const std::vector<double> x = name.empty() ? Series(300) : ReadExample(name);
    ASSERT_GE(x.size(), 100u) << name;
    const Statistics s = Describe(x);
    const SlopeInput fast{x, DistanceGrid(c.eps_low, c.eps_high, s.sd, c.subint), s.spread,
                          c.cm_limit};
    SlopeInput reference = fast;
    reference.path = CountingPath::kKernel;
    const std::vector<DimensionSlope> expected = IxoSlopes(reference, c.first, c.last);
    const std::vector<DimensionSlope> actual = IxoSlopes(fast, c.first, c.last);
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const std::string what = name + " " + std::to_string(c.eps_low) + ".." +
                               std::to_string(c.eps_high) +
                               " j=" + std::to_string(expected[i].dimension);
      EXPECT_EQ(expected[i].dimension, actual[i].dimension) << what;
      EXPECT_EQ(expected[i].slope, actual[i].slope) << what;
      EXPECT_EQ(expected[i].points, actual[i].points) << what;
    }
  }
  release_tables();
}

}  // namespace
}  // namespace ixo

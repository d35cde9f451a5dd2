#include "correlation_curves.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "correlation_integrals.h"
#include "statistics.h"

namespace ixo {
namespace {

std::vector<double> ReadExample(const std::string& name) {
  std::ifstream in(std::string(IXO_EXAMPLES_DIR) + "/" + name);
  std::vector<double> x;
  for (double v; in >> v;) x.push_back(v);
  return x;
}

TEST(CorrelationCurves, SlopesAreTheIxoValuesAndLinesPassThroughTheMeans) {
  struct Case {
    const char* series;
    double eps_low, eps_high;
    int cm_limit, first, last;
  };
  // A cm limit high enough to cut off the lowest points of the higher dimensions.
  const Case cases[] = {
      {"logistic.txt", 0.60, 1.90, 1000, 2, 10},
      {"normal.txt", 0.25, 1.00, 500, 2, 8},
      {"normal.txt", 1.90, 0.60, 5000, 5, 5},
  };
  for (const Case& c : cases) {
    const std::vector<double> x = ReadExample(c.series);
    ASSERT_GE(x.size(), 100u) << c.series;
    const Statistics s = Describe(x);
    const SlopeInput input{x, DistanceGrid(c.eps_low, c.eps_high, s.sd, 40), s.spread, c.cm_limit};
    const std::vector<DimensionSlope> slopes = IxoSlopes(input, c.first, c.last);
    const std::vector<CorrelationCurve> curves = CorrelationCurves(input, c.first, c.last);
    ASSERT_EQ(curves.size(), slopes.size()) << c.series;
    bool some_point_skipped = false;
    for (size_t i = 0; i < curves.size(); ++i) {
      const CorrelationCurve& curve = curves[i];
      const std::string what = std::string(c.series) + " j=" + std::to_string(curve.dimension);
      EXPECT_EQ(curve.dimension, slopes[i].dimension) << what;
      EXPECT_EQ(curve.slope, slopes[i].slope) << what;  // to the last bit
      EXPECT_EQ(curve.used_points, slopes[i].points) << what;
      ASSERT_EQ(curve.points.size(), 41u) << what;
      double mean_x = 0;
      double mean_y = 0;
      int used = 0;
      for (int k = 0; k <= 40; ++k) {
        const CurvePoint& p = curve.points[k];
        EXPECT_EQ(p.k, k) << what;
        EXPECT_EQ(p.eps, input.grid.Point(k)) << what;
        EXPECT_EQ(p.used, p.pairs > c.cm_limit) << what << " k=" << k;
        some_point_skipped |= !p.used;
        if (!p.used) continue;
        mean_x += p.x;
        mean_y += p.y;
        ++used;
      }
      ASSERT_EQ(used, curve.used_points) << what;
      mean_x /= used;
      mean_y /= used;
      EXPECT_NEAR(curve.intercept + curve.slope * mean_x, mean_y, 1e-12) << what;
    }
    EXPECT_TRUE(some_point_skipped) << c.series;
  }
  release_tables();
}

}  // namespace
}  // namespace ixo

#include "analysis/curves_chart.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ixo {
namespace {

CurvePointRow Point(int m, int k, double x, std::optional<double> y, bool used) {
  return CurvePointRow{m, k, 0.5 + k, x, y ? 100.0 : 0.0, y, used};
}

// The points as pairs, which gtest prints when they differ.
std::vector<std::pair<double, double>> Shown(const std::vector<ChartPoint>& points) {
  std::vector<std::pair<double, double>> pairs;
  for (const ChartPoint& p : points) pairs.emplace_back(p.x, p.y);
  return pairs;
}

TEST(CurvesChartOf, UsedSkippedAndTheLineAcrossTheUsedPoints) {
  CurvesTable table;
  table.points = {Point(2, 0, -1.5, 3.5, false),          Point(2, 1, -1.0, 5.0, true),
                  Point(2, 2, -0.5, 6.0, true),           Point(2, 3, 0.5, 7.0, false),
                  Point(3, 0, -1.5, std::nullopt, false), Point(3, 1, -1.0, 4.0, true)};
  table.fits = {{2, 2.0, 7.0, 2}, {3, 2.5, 6.5, 1}};
  const CurvesChart chart = CurvesChartOf(table);
  ASSERT_EQ(chart.series.size(), 2u);

  const CurveSeries& two = chart.series[0];
  EXPECT_EQ(two.m, 2);
  EXPECT_EQ(two.name, "m=2");
  EXPECT_EQ(Shown(two.used), Shown({{-1.0, 5.0}, {-0.5, 6.0}}));
  EXPECT_EQ(Shown(two.skipped), Shown({{-1.5, 3.5}, {0.5, 7.0}}));
  // From the first to the last used x, not across the skipped points.
  EXPECT_EQ(Shown(two.line), Shown({{-1.0, 5.0}, {-0.5, 6.0}}));

  // A point without a pair has no y and is not drawn; one used point draws no line.
  const CurveSeries& three = chart.series[1];
  EXPECT_EQ(three.name, "m=3");
  EXPECT_EQ(Shown(three.used), Shown({{-1.0, 4.0}}));
  EXPECT_TRUE(three.skipped.empty());
  EXPECT_TRUE(three.line.empty());

  EXPECT_EQ(chart.x_min, -1.5);
  EXPECT_EQ(chart.x_max, 0.5);
  EXPECT_EQ(chart.y_min, 3.5);
  EXPECT_EQ(chart.y_max, 7.0);
}

TEST(CurvesChartOf, RangeHoldsEveryPointAndLineEnd) {
  const struct {
    const char* what;
    std::vector<CurvePointRow> points;
    std::vector<CurveFitRow> fits;
    double x_min, x_max, y_min, y_max;
  } cases[] = {
      {"nothing to draw", {}, {}, 0, 1, 0, 1},
      {"points without a pair", {Point(2, 0, -2, std::nullopt, false)}, {{2, 1, 1, 0}}, 0, 1, 0, 1},
      {"one point, widened each way", {Point(2, 0, -2, 3, true)}, {{2, 1, 1, 1}}, -3, -1, 2, 4},
      {"a line above its points",
       {Point(2, 0, 0, 0, true), Point(2, 1, 1, 1, true)},
       {{2, 0, 5, 2}},
       0,
       1,
       0,
       5},
      {"a dimension without a fit is not drawn",
       {Point(2, 0, 0, 0, true), Point(3, 0, 9, 9, true)},
       {{2, 0, 0, 1}},
       -1,
       1,
       -1,
       1},
      {"every dimension counts",
       {Point(2, 0, 0, 1, true), Point(3, 0, -4, -2, false)},
       {{2, 0, 1, 1}, {3, 0, 0, 0}},
       -4,
       0,
       -2,
       1},
  };
  for (const auto& c : cases) {
    const CurvesChart chart = CurvesChartOf(CurvesTable{c.points, c.fits});
    EXPECT_EQ(chart.x_min, c.x_min) << c.what;
    EXPECT_EQ(chart.x_max, c.x_max) << c.what;
    EXPECT_EQ(chart.y_min, c.y_min) << c.what;
    EXPECT_EQ(chart.y_max, c.y_max) << c.what;
  }
}

TEST(CurvesCopyText, OneTabbedLinePerPointInTheUsersDecimals) {
  CurvesTable table;
  table.points = {CurvePointRow{2, 0, 0.25, -1.5, 40.0, 3.6888794541139363, false},
                  CurvePointRow{2, 1, 1.0 / 3, -0.8, 300.0, 5.5, true},
                  CurvePointRow{3, 0, 0.25, -1.5, 0.0, std::nullopt, false}};
  table.fits = {{2, 1.5, 7, 1}, {3, 0, 0, 0}};
  EXPECT_EQ(CurvesCopyText(table, ','),
            "m\tk\teps\tx\tpairs\ty\tused\r\n"
            "2\t0\t0,25\t-1,5\t40\t3,68887945411394\t0\r\n"
            "2\t1\t0,333333333333333\t-0,8\t300\t5,5\t1\r\n"
            "3\t0\t0,25\t-1,5\t0\t\t0\r\n");
  EXPECT_EQ(CurvesCopyText(CurvesTable{}, '.'), kCurvesCopyHeader);
}

}  // namespace
}  // namespace ixo

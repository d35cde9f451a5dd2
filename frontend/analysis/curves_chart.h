// What the "Correlation integrals" window draws and copies, taken from the
// parsed curves: per dimension its used and skipped points, its fitted line,
// the axes' common range, and the points as tab-separated text.
#pragma once

#include <string>
#include <vector>

#include "analysis/curves_csv.h"
#include "analysis/histogram_bins.h"

namespace ixo {

inline constexpr const char* kCurvesCopyHeader = "m\tk\teps\tx\tpairs\ty\tused\r\n";

struct CurveSeries {
  int m = 0;
  std::string name;                 // the legend's "m=2"
  std::vector<ChartPoint> used;     // (x, y) of the points the fit uses, in grid order
  std::vector<ChartPoint> skipped;  // the others that have pairs; a point without one has no y
  std::vector<ChartPoint> line;     // the fitted line across the used x: two points, or
                                    // none with fewer than two used points
};

struct CurvesChart {
  std::vector<CurveSeries> series;  // one per fitted dimension, in the table's order
  double x_min = 0;                 // the range of every drawn point and line end;
  double x_max = 1;                 // 0 to 1 on an axis without any, and widened by 1
  double y_min = 0;                 // each way where all are equal
  double y_max = 1;
};

// The chart of `table` (as ParseCurvesCsv gives it).
CurvesChart CurvesChartOf(const CurvesTable& table);

// kCurvesCopyHeader and one line per point of `table` in file order, fields
// separated by one tab, lines ended by CR LF: m, k, eps, x, pairs (a whole
// number), y (empty without pairs), used (1 or 0); the decimal numbers in
// GeneralNumberText with 15 digits and `decimal_separator`.
std::string CurvesCopyText(const CurvesTable& table, char decimal_separator);

}  // namespace ixo

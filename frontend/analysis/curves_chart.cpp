#include "analysis/curves_chart.h"

#include <algorithm>
#include <cmath>

#include "analysis/number_text.h"

namespace ixo {
namespace {

struct Range {
  bool empty = true;
  double low = 0;
  double high = 0;

  void Add(double v) {
    low = empty ? v : std::min(low, v);
    high = empty ? v : std::max(high, v);
    empty = false;
  }
};

// The range as the axis shows it: 0 to 1 when empty, widened when flat.
void Span(const Range& range, double& low, double& high) {
  if (range.empty) {
    low = 0;
    high = 1;
    return;
  }
  low = range.low;
  high = range.high;
  if (high <= low) {
    low -= 1;
    high += 1;
  }
}

}  // namespace

CurvesChart CurvesChartOf(const CurvesTable& table) {
  CurvesChart chart;
  Range x_range;
  Range y_range;
  for (const CurveFitRow& fit : table.fits) {
    CurveSeries series;
    series.m = fit.m;
    series.name = "m=" + std::to_string(fit.m);
    Range used_x;
    for (const CurvePointRow& point : table.points) {
      if (point.m != fit.m || !point.y) continue;
      (point.used ? series.used : series.skipped).push_back(ChartPoint{point.x, *point.y});
      if (point.used) used_x.Add(point.x);
    }
    if (series.used.size() >= 2) {
      for (double x : {used_x.low, used_x.high})
        series.line.push_back(ChartPoint{x, fit.intercept + fit.slope * x});
    }
    for (const auto* points : {&series.used, &series.skipped, &series.line}) {
      for (const ChartPoint& p : *points) {
        x_range.Add(p.x);
        y_range.Add(p.y);
      }
    }
    chart.series.push_back(std::move(series));
  }
  Span(x_range, chart.x_min, chart.x_max);
  Span(y_range, chart.y_min, chart.y_max);
  return chart;
}

std::string CurvesCopyText(const CurvesTable& table, char decimal_separator) {
  std::string text = kCurvesCopyHeader;
  for (const CurvePointRow& p : table.points) {
    text += std::to_string(p.m) + '\t' + std::to_string(p.k) + '\t' +
            GeneralNumberText(p.eps, decimal_separator) + '\t' +
            GeneralNumberText(p.x, decimal_separator) + '\t' +
            GeneralNumberText(std::round(p.pairs), decimal_separator) + '\t' +
            (p.y ? GeneralNumberText(*p.y, decimal_separator) : std::string()) + '\t' +
            (p.used ? '1' : '0') + "\r\n";
  }
  return text;
}

}  // namespace ixo

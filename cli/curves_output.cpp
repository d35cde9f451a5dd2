#include "curves_output.h"

#include <cmath>
#include <optional>

#include "tables/csv_fields.h"

namespace ixo {
namespace {

std::string WithoutLastLineBreak(std::string text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

}  // namespace

CurvesTables CurvesResultTables(const std::vector<CorrelationCurve>& curves) {
  CurvesTables tables;
  tables.points.columns = HeaderColumns(kCurvePointsHeader);
  tables.fits.columns = HeaderColumns(kCurveFitsHeader);
  for (const CorrelationCurve& curve : curves) {
    for (const CurvePoint& p : curve.points) {
      // The engine's pairs differ from the whole count by rounding error only.
      const bool has_pairs = p.pairs > 0;
      tables.points.rows.push_back(
          {IntegerCell(curve.dimension), IntegerCell(p.k), NumberCell(p.eps), NumberCell(p.x),
           IntegerCell(std::llround(p.pairs)),
           NumberCell(has_pairs ? std::optional<double>(p.y) : std::nullopt),
           IntegerCell(p.used ? 1 : 0)});
    }
    tables.fits.rows.push_back({IntegerCell(curve.dimension), NumberCell(curve.slope),
                                NumberCell(curve.intercept), IntegerCell(curve.used_points)});
  }
  return tables;
}

std::string WrittenCurves(const CurvesTables& tables, OutputFormat format) {
  if (format == OutputFormat::kJson) {
    return "{\"points\": " + WithoutLastLineBreak(Written(tables.points, format)) +
           ",\n\"fits\": " + WithoutLastLineBreak(Written(tables.fits, format)) + "}\n";
  }
  return Written(tables.points, format) + "\n" + Written(tables.fits, format);
}

}  // namespace ixo

#include "correlation_curves.h"

#include <utility>

namespace ixo {
namespace {

// The fitted line's value at x = 0: mean y - slope * mean x over the used points,
// the means summed in grid order as the slope's are.
double Intercept(const std::vector<CurvePoint>& points, double slope) {
  double sum_x = 0;
  double sum_y = 0;
  int used = 0;
  for (const CurvePoint& point : points) {
    if (!point.used) continue;
    sum_x += point.x;
    sum_y += point.y;
    ++used;
  }
  if (used == 0) return 0;
  return sum_y / used - slope * (sum_x / used);
}

}  // namespace

std::vector<CorrelationCurve> CorrelationCurves(const SlopeInput& input, int first, int last) {
  std::vector<CorrelationCurve> curves;
  for (DimensionPoints& dimension : CurvePoints(input, first, last)) {
    const DimensionSlope fit = FitDimension(dimension);
    CorrelationCurve curve;
    curve.dimension = fit.dimension;
    curve.slope = fit.slope;
    curve.intercept = Intercept(dimension.points, fit.slope);
    curve.used_points = fit.points;
    curve.points = std::move(dimension.points);
    curves.push_back(std::move(curve));
  }
  return curves;
}

Result<std::vector<CorrelationCurve>> SeriesCurves(std::span<const double> series,
                                                   const IxoSettings& settings,
                                                   PairCountPath path) {
  using Curves = std::vector<CorrelationCurve>;
  return OutOfMemoryAsFailure<Curves>([&]() -> Result<Curves> {
    if (std::string why = CheckIxoSettings(settings, series.size()); !why.empty())
      return Failure<Curves>(std::move(why));
    Result<SlopeInput> input = SlopeInputFor(series, settings);
    if (!input.ok()) return Failure<Curves>(input.error);
    input.value->pair_count_path = path;
    return {CorrelationCurves(*input.value, 2, settings.max_dimension), {}};
  });
}

}  // namespace ixo

#include "ixo_slopes.h"

#include <cmath>
#include <utility>

#include "correlation_integrals.h"
#include "pair_counts.h"
#include "slope.h"

namespace ixo {
namespace {

// C_j at grid point k for the dimensions first..last: from the close pairs of
// the whole grid, counted up front (for the top dimension alone when it is the
// only one), or from one kernel call per grid point and dimension.
class Integrals {
 public:
  Integrals(const SlopeInput& input, int first, int last) : input_(input) {
    if (input.path == CountingPath::kKernel || last < first) return;
    std::vector<double> grid(input.grid.size());
    for (int k = 0; k < input.grid.size(); ++k) grid[k] = input.grid.Point(k);
    const Dimensions which = first == last ? Dimensions::kTopOnly
                             : first >= 2  ? Dimensions::kAboveOne
                                           : Dimensions::kAll;
    if (input.workspace != nullptr) {
      counts_ = &input.workspace->Count(input.series, grid, last, which);
    } else {
      owned_counts_ =
          CountClosePairs(input.series, grid, last, which, input.threads, input.pair_count_path);
      counts_ = &owned_counts_;
    }
  }

  double At(int k, int j) const {
    if (input_.path == CountingPath::kKernel)
      return correlation_integrals(input_.series, j, input_.grid.Point(k)).integrals[j];
    return CorrelationIntegralFromCount(counts_->At(j, k), static_cast<int>(input_.series.size()),
                                        j);
  }

 private:
  const SlopeInput& input_;
  PairCounts owned_counts_;
  const PairCounts* counts_ = nullptr;  // the owned counts or the workspace's
};

}  // namespace

double ClosePairs(int n, int j, double c_j) {
  return (n - j) * c_j * (n - j + 1) * 0.5;
}

std::vector<DimensionPoints> CurvePoints(const SlopeInput& input, int first, int last) {
  const int n = static_cast<int>(input.series.size());
  std::vector<DimensionPoints> curves;
  const Integrals integrals(input, first, last);
  for (int j = first; j <= last; ++j) {
    DimensionPoints curve{j, {}};
    curve.points.reserve(static_cast<size_t>(input.grid.size()));
    for (int k = 0; k <= input.grid.subint(); ++k) {
      CurvePoint point;
      point.k = k;
      point.eps = input.grid.Point(k);
      point.x = std::log(point.eps / input.spread);
      point.pairs = ClosePairs(n, j, integrals.At(k, j));
      point.y = std::log(point.pairs);
      point.used = !(input.cm_limit >= point.pairs);
      curve.points.push_back(point);
    }
    curves.push_back(std::move(curve));
  }
  return curves;
}

DimensionSlope FitDimension(const DimensionPoints& curve) {
  std::vector<double> x;
  std::vector<double> y;
  for (const CurvePoint& point : curve.points) {
    if (!point.used) continue;
    x.push_back(point.x);
    y.push_back(point.y);
  }
  return DimensionSlope{curve.dimension, FitSlope(x, y), static_cast<int>(x.size())};
}

std::vector<DimensionSlope> IxoSlopes(const SlopeInput& input, int first, int last) {
  std::vector<DimensionSlope> slopes;
  for (const DimensionPoints& curve : CurvePoints(input, first, last))
    slopes.push_back(FitDimension(curve));
  return slopes;
}

std::string NoIxoValueReason(const DimensionSlope& d) {
  if (HasIxoValue(d)) return {};
  return d.points < 2 ? "fewer than two usable grid points" : "flat counts";
}

}  // namespace ixo

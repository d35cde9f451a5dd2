#include "ixo_slopes.h"

#include <cmath>

#include "correlation_integrals.h"
#include "slope.h"

namespace ixo {
namespace {

// C_j at grid point k: one kernel call per grid point and dimension.
double IntegralAt(const SlopeInput& input, int k, int j) {
  return correlation_integrals(input.series, j, input.grid.Point(k)).integrals[j];
}

}  // namespace

double ClosePairs(int n, int j, double c_j) {
  return (n - j) * c_j * (n - j + 1) * 0.5;
}

std::vector<DimensionSlope> IxoSlopes(const SlopeInput& input, int first, int last) {
  const int n = static_cast<int>(input.series.size());
  std::vector<DimensionSlope> slopes;
  std::vector<double> x;
  std::vector<double> y;
  for (int j = first; j <= last; ++j) {
    x.clear();
    y.clear();
    for (int k = 0; k <= input.grid.subint(); ++k) {
      const double pairs = ClosePairs(n, j, IntegralAt(input, k, j));
      if (input.cm_limit >= pairs) continue;
      x.push_back(std::log(input.grid.Point(k) / input.spread));
      y.push_back(std::log(pairs));
    }
    slopes.push_back(DimensionSlope{j, FitSlope(x, y), static_cast<int>(x.size())});
  }
  return slopes;
}

}  // namespace ixo

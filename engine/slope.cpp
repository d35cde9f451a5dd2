#include "slope.h"

#include <algorithm>
#include <cassert>

namespace ixo {

double FitSlope(std::span<const double> x, std::span<const double> y) {
  assert(x.size() == y.size());
  const size_t p = x.size();
  if (p < 2) return 0;
  // Decided on the values themselves: the means of equal values may differ from
  // them by a rounding residue, which would leave Sxx or Sxy a tiny non-zero
  // number of either sign instead of 0.
  const auto all_equal = [](std::span<const double> v) {
    return std::all_of(v.begin(), v.end(), [&](double e) { return e == v[0]; });
  };
  if (all_equal(x) || all_equal(y)) return 0;
  double sum_x = 0;
  double sum_y = 0;
  for (size_t i = 0; i < p; ++i) {
    sum_x += x[i];
    sum_y += y[i];
  }
  const double mean_x = sum_x / static_cast<double>(p);
  const double mean_y = sum_y / static_cast<double>(p);
  double sxy = 0;
  double sxx = 0;
  for (size_t i = 0; i < p; ++i) {
    sxy += (x[i] - mean_x) * (y[i] - mean_y);
    sxx += (x[i] - mean_x) * (x[i] - mean_x);
  }
  if (sxx == 0) return 0;  // x so close that their squared deviations underflow
  return sxy / sxx;
}

}  // namespace ixo

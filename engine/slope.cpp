#include "slope.h"

#include <cassert>

namespace ixo {

double FitSlope(std::span<const double> x, std::span<const double> y) {
  assert(x.size() == y.size());
  const size_t p = x.size();
  if (p < 2) return 0;
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
  if (sxx == 0) return 0;
  return sxy / sxx;
}

}  // namespace ixo

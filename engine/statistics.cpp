#include "statistics.h"

#include <cassert>
#include <cmath>

namespace ixo {

Statistics Describe(std::span<const double> x) {
  assert(x.size() >= 2);
  Statistics s;
  double sum = 0;
  s.minimum = x[0];
  s.maximum = x[0];
  for (double v : x) {
    sum += v;
    if (v < s.minimum) s.minimum = v;
    if (v > s.maximum) s.maximum = v;
  }
  const double n = static_cast<double>(x.size());
  s.mean = sum / n;
  double squares = 0;
  for (double v : x) squares += (v - s.mean) * (v - s.mean);
  s.sd = std::sqrt(squares / (n - 1));
  s.spread = s.maximum - s.minimum;
  return s;
}

}  // namespace ixo

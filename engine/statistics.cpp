#include "statistics.h"

#include <algorithm>
#include <cassert>
#include <cfloat>
#include <cmath>

namespace ixo {
namespace {

// The sum of (v - mean)^2 over the series, each deviation multiplied by
// `scale`, a power of two, before it is squared (exact), so the sum is scale^2
// times the true one; and whether a square fell below the normal doubles.
struct Squares {
  double sum = 0;
  bool lost_digits = false;
};

Squares SumSquares(std::span<const double> x, double mean, double scale) {
  Squares s;
  for (double v : x) {
    const double d = (v - mean) * scale;
    const double square = d * d;
    s.sum += square;
    if (d != 0 && square < DBL_MIN) s.lost_digits = true;
  }
  return s;
}

}  // namespace

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
  Squares squares = SumSquares(x, s.mean, 1);
  int k = 0;
  if (squares.lost_digits && std::isfinite(s.mean)) {
    // Squares below the normal doubles keep few digits or none (deviations
    // near 1e-160 and below): the sum is taken again over deviations scaled
    // by 2^k so that the largest lies in [0.5, 1) (k at most 1022, 2^k being
    // a double), and the sd is scaled back. Where no square was lost the
    // scaled sum would be the plain one times 4^k bit for bit, so the plain
    // one stands: ordinary series keep their sd to the last bit.
    const double largest = std::max(s.maximum - s.mean, s.mean - s.minimum);
    int exponent = 0;
    std::frexp(largest, &exponent);
    if (std::isfinite(largest) && exponent < 0) {
      k = std::min(-exponent, DBL_MAX_EXP - 2);
      squares = SumSquares(x, s.mean, std::ldexp(1.0, k));
    }
  }
  s.sd = std::ldexp(std::sqrt(squares.sum / (n - 1)), -k);
  s.spread = s.maximum - s.minimum;
  return s;
}

}  // namespace ixo

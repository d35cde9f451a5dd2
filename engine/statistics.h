// Descriptive statistics of the series, as the report shows them.
#pragma once

#include <span>

namespace ixo {

struct Statistics {
  double mean = 0;
  double sd = 0;  // sample standard deviation, divisor n - 1
  double minimum = 0;
  double maximum = 0;
  double spread = 0;  // maximum - minimum
};

// Sums in the order of the positions: one pass for the sum, minimum and
// maximum, a second for the squared deviations from the mean. Where a square
// would fall below the normal doubles (deviations near 1e-154 and below) the
// deviations are scaled by a power of two before they are squared, so that
// the sd, like the Ixo value, is the same at any scale a double holds; every
// other series gets the plain sums bit for bit. Requires n >= 2 (for n = 1 sd
// is 0/0, for n = 0 everything is undefined).
Statistics Describe(std::span<const double> x);

}  // namespace ixo

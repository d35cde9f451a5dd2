// Least-squares slope of y on x.
#pragma once

#include <span>

namespace ixo {

// Sxy / Sxx about the means, sums taken in the order of the positions. Exactly
// +0 when there is no slope: fewer than two points, all x equal (Sxx = 0) or
// all y equal (a flat count, Sxy = 0), each decided by comparing the values.
// Requires x.size() == y.size().
double FitSlope(std::span<const double> x, std::span<const double> y);

}  // namespace ixo

// Least-squares slope of y on x.
#pragma once

#include <span>

namespace ixo {

// Sxy / Sxx about the means, sums taken in the order of the positions. 0 when
// no slope can be fitted: fewer than two points, or all x equal (Sxx = 0).
// Requires x.size() == y.size().
double FitSlope(std::span<const double> x, std::span<const double> y);

}  // namespace ixo

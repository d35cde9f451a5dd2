// The standard normal distribution as the histogram draws it: the density, the
// distribution function by the polynomial approximation 26.2.17 of Abramowitz
// and Stegun (absolute error below 7.5E-8), and the curve of bin probabilities
// that is set beside the bars.
#pragma once

#include <optional>
#include <vector>

#include "analysis/histogram_bins.h"

namespace ixo {

// The user's text for a negative or NaN argument of NormalCdf.
inline constexpr const char* kValueMustBeNonNegative = "Value must be Non-Negative";

// e^(-x^2/2) / sqrt(2 pi), in extended precision.
long double NormalDensity(long double x);

// The standard normal distribution function at `x` >= 0, rounded to single
// precision. Empty for a negative or NaN `x` (the caller says kValueMustBeNonNegative).
[[nodiscard]] std::optional<float> NormalCdf(long double x);

// One point per bin of `bins` (see EdgesOfBin): x = the bin's centre, y = the
// standard normal probability of [lo, hi), from NormalCdf. Empty when
// `bins` <= 0.
std::vector<ChartPoint> DrawNormalCurve(int bins);

}  // namespace ixo

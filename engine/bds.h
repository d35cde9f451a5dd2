// The BDS statistic's ratio (C_m - C_1^m) / sigma_m, from one kernel call.
#pragma once

namespace ixo {

// x^k by k successive multiplications starting from 1.0, each product stored as
// a double; k <= 0 gives 1.0.
double int_power(double x, int k);

// sigma_m^2 = 4 [K^m + 2 sum_{j=1}^{m-1} K^(m-j) c^(2j) + (m-1)^2 c^(2m) - m^2 K c^(2m-2)],
// summed in that order. Not positive for m = 1 (always 0) or a degenerate series;
// then bds_ratio has no result.
double BdsVariance(double K, double c, int m);

// (C_m - C_1^m) / sqrt(BdsVariance(K, c, m)). Meaningful only when the variance
// is positive; the caller checks that first.
double bds_ratio(double C_1, double C_m, double K, double c, int m);

}  // namespace ixo

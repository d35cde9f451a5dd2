// The BDS statistic's ratio (C_m - C_1^m) / sigma_m, from one kernel call.
#pragma once

#include <cstddef>

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

// Whether the standard normal law, the statistic's limit under the i.i.d.
// hypothesis, is a fair approximation for n values, dimension m and a distance
// of eps_in_sd standard deviations: n >= 200 m and 0.5 <= eps_in_sd <= 2
// (the ends within a relative 1e-9, so that rounding does not decide).
// Outside, its p-values mislead (at eps = 5 sd the statistic is -12 on i.i.d.
// data; at eps = 0.5 sd and n = 500 it rejects a third or more of i.i.d. series
// at 5 % from m = 6 up); a permutation p-value holds everywhere.
bool BdsNormalLawHolds(std::size_t n, int m, double eps_in_sd);

}  // namespace ixo

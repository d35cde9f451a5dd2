#include "bds.h"

#include <cmath>

namespace ixo {

double int_power(double x, int k) {
  double result = 1.0;
  for (int i = 0; i < k; ++i) result = result * x;
  return result;
}

double BdsVariance(double K, double c, int m) {
  double s = 0;
  for (int j = 1; j <= m - 1; ++j) s = s + (int_power(K, m - j) * 2) * int_power(c, 2 * j);
  const double t = int_power(K, m) + (m - 1) * (m - 1) * int_power(c, 2 * m);
  s = s + (t - (m * m * K) * int_power(c, 2 * m - 2));
  return 4 * s;
}

double bds_ratio(double C_1, double C_m, double K, double c, int m) {
  return (C_m - int_power(C_1, m)) / std::sqrt(BdsVariance(K, c, m));
}

bool BdsNormalLawHolds(std::size_t n, int m, double eps_in_sd) {
  // The rule of thumb of the Monte Carlo studies of the statistic: Brock, Hsieh
  // and LeBaron (1991, "Nonlinear Dynamics, Chaos, and Instability", ch. 2)
  // found the normal law close to the finite-sample one for n / m of 200 or more
  // and distances from 0.5 to 2 standard deviations; Kanzler (1999, "Very fast
  // and correctly sized estimation of the BDS statistic") shows the test badly
  // sized outside. Measured here on 300 i.i.d. normal series of 500 values, a
  // 5 % test rejects 7-9 % at m = 2 within the range, 11-15 % at 3 sd, and up
  // to all of them at 0.5 sd and m = 10.
  // The ends are widened by a billionth: a distance given in the data's units
  // (R's and Python's bds tests, 0.5 and 2 times their own sd) comes back as a
  // fraction of this sd a rounding step off 0.5 or 2, and a rule of thumb does
  // not tell those apart.
  constexpr double kSlack = 1e-9;
  return m >= 1 && n >= 200 * static_cast<std::size_t>(m) && eps_in_sd >= 0.5 * (1 - kSlack) &&
         eps_in_sd <= 2 * (1 + kSlack);
}

}  // namespace ixo

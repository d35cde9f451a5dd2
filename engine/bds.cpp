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

}  // namespace ixo

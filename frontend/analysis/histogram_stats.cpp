#include "analysis/histogram_stats.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "analysis/errors.h"
#include "analysis/number_text.h"

namespace ixo {

MomentsResult ComputeMoments(std::span<const double> values) {
  MomentsResult result;
  const auto fail = [&result](const char* error) {
    result.error = error;
    return result;
  };
  if (values.empty()) return fail(kInvalidOperation);  // the mean is 0/0
  const double n = static_cast<double>(values.size());
  double sum = 0;
  for (double v : values) sum += v;
  SeriesMoments& m = result.moments;
  const Checked mean = CheckedDivide(CheckedFinite(sum), n);
  if (!mean.ok()) return fail(mean.error);
  m.mean = mean.value;

  // Deviations all below 2^-128 (a series near 1e-40 and below) would lose
  // their fourth powers, and soon their squares, below the normal doubles:
  // they are scaled by 2^k first, exactly, and the sd scaled back; skewness
  // and kurtosis do not depend on the scale. Other series take the plain sums.
  const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
  const double largest = std::max(*highest - m.mean, m.mean - *lowest);
  int k = 0;
  if (std::isfinite(largest) && largest < std::ldexp(1.0, -128)) {
    std::frexp(largest, &k);
    k = std::min(-k, DBL_MAX_EXP - 2);
  }
  const double scale = std::ldexp(1.0, k);
  double s2 = 0;
  double s3 = 0;
  double s4 = 0;
  for (double v : values) {
    const double d = (v - m.mean) * scale;
    const double d2 = d * d;
    s2 += d2;
    s3 += d2 * d;
    s4 += d2 * d2;
  }
  const Checked scaled_deviation = CheckedSqrt(CheckedDivide(CheckedFinite(s2), n));
  if (!scaled_deviation.ok()) return fail(scaled_deviation.error);
  m.standard_deviation = std::ldexp(scaled_deviation.value, -k);

  // Equal values whose mean came out a rounding step away from them would give
  // a tiny non-zero deviation and moments of pure rounding noise; such a series
  // is as constant as one that hits its mean exactly, where S3 / (N sd^3) is 0/0.
  if (*lowest == *highest) return fail(kInvalidOperation);
  const double sd = scaled_deviation.value;
  const Checked skewness = CheckedDivide(CheckedFinite(s3), n * (sd * sd * sd));
  if (!skewness.ok()) return fail(skewness.error);
  m.skewness = skewness.value;
  const Checked kurtosis = CheckedDivide(CheckedFinite(s4), n * (sd * sd * sd * sd));
  if (!kurtosis.ok()) return fail(kurtosis.error);
  m.kurtosis = kurtosis.value;
  const double excess = m.kurtosis - 3;
  const Checked bera_jarque =
      CheckedFinite(n / 6 * (m.skewness * m.skewness + excess * excess / 4));
  if (!bera_jarque.ok()) return fail(bera_jarque.error);
  m.bera_jarque = bera_jarque.value;
  return result;
}

double SkewnessZ(const SeriesMoments& moments, int count) {
  return std::sqrt(count / 6.0) * moments.skewness;
}

double KurtosisZ(const SeriesMoments& moments, int count) {
  return std::sqrt(count / 24.0) * (moments.kurtosis - 3);
}

std::string ZStatisticHint(double z, char decimal_separator) {
  std::string hint = "Statistics: ";
  hint += ThreeDecimalText(z, decimal_separator);
  hint += " Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)";
  return hint;
}

}  // namespace ixo

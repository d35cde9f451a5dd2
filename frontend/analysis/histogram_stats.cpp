#include "analysis/histogram_stats.h"

#include <algorithm>
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

  double s2 = 0;
  double s3 = 0;
  double s4 = 0;
  for (double v : values) {
    const double d = v - m.mean;
    const double d2 = d * d;
    s2 += d2;
    s3 += d2 * d;
    s4 += d2 * d2;
  }
  const Checked standard_deviation = CheckedSqrt(CheckedDivide(CheckedFinite(s2), n));
  if (!standard_deviation.ok()) return fail(standard_deviation.error);
  m.standard_deviation = standard_deviation.value;

  // Equal values whose mean came out a rounding step away from them would give
  // a tiny non-zero deviation and moments of pure rounding noise; such a series
  // is as constant as one that hits its mean exactly, where S3 / (N sd^3) is 0/0.
  const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
  if (*lowest == *highest) return fail(kInvalidOperation);
  const double sd = m.standard_deviation;
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

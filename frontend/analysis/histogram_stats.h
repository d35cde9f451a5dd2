// The moments the histogram window reports for a series: mean, standard
// deviation with divisor N, skewness, raw kurtosis (3 for a normal
// distribution) and the Bera-Jarque normality statistic, with the z-statistics
// and fixed critical values shown in the labels' hints.
#pragma once

#include <span>
#include <string>

namespace ixo {

struct SeriesMoments {
  double mean = 0;
  double standard_deviation = 0;  // square root of the mean squared deviation
  double skewness = 0;
  double kurtosis = 0;  // raw, not excess
  double bera_jarque = 0;
};

// The moments of a series, or the trap message that stopped them.
struct MomentsResult {
  SeriesMoments moments;        // meaningful only when `error` is null
  const char* error = nullptr;  // kInvalidOperation, kDivisionByZero or kOverflow
};

// The moments of `values`. kInvalidOperation for an empty series and for a
// series whose values are all equal (nothing to standardize by); sums that
// leave the double range give kOverflow.
[[nodiscard]] MomentsResult ComputeMoments(std::span<const double> values);

// z-statistic of the skewness, sqrt(N / 6) * skewness.
double SkewnessZ(const SeriesMoments& moments, int count);

// z-statistic of the kurtosis, sqrt(N / 24) * (kurtosis - 3).
double KurtosisZ(const SeriesMoments& moments, int count);

// The hint of the skewness and kurtosis labels: "Statistics: " + `z` in three
// decimals + " Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)".
std::string ZStatisticHint(double z, char decimal_separator);

// The fixed hint of the Bera-Jarque label.
inline constexpr const char* kBeraJarqueHint = "Critical values: 4.61 (10%), 5.99 (5%), 9.21 (1%)";

}  // namespace ixo

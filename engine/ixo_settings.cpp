#include "ixo_settings.h"

#include <cassert>
#include <climits>
#include <cmath>

#include "statistics.h"

namespace ixo {
namespace {

// CheckGrid for a series described as `stats`.
std::string CheckStatistics(const Statistics& stats, std::span<const double> fractions) {
  if (!std::isfinite(stats.mean) || !std::isfinite(stats.sd) || !std::isfinite(stats.spread)) {
    return "the values are too large for their mean and sd to be computed";
  }
  if (stats.sd == 0) return "a constant series (sd = 0)";
  for (double fraction : fractions) {
    const double eps = fraction * stats.sd;
    if (!(eps > 0) || !std::isfinite(eps)) return "eps times the sd is out of the double range";
  }
  return {};
}

}  // namespace

std::string CheckIxoSettings(const IxoSettings& s, std::size_t n) {
  for (double eps : {s.eps_low, s.eps_high}) {
    if (!(eps > 0) || !std::isfinite(eps)) return "eps must be positive and finite";
  }
  if (s.subint < 1 || s.subint > kMaxSubintervals) {
    return "the number of intervals must lie between 1 and " + std::to_string(kMaxSubintervals);
  }
  if (s.cm_limit < 0) return "the Cm limit must not be negative";
  return CheckDimensions(s.max_dimension, n);
}

std::string CheckDimensions(int max_dimension, std::size_t n) {
  if (max_dimension < 2 || max_dimension > kMaxDimension) {
    return "m must lie between 2 and " + std::to_string(kMaxDimension);
  }
  if (n > static_cast<std::size_t>(INT_MAX))
    return "more than " + std::to_string(INT_MAX) + " values";
  if (n < 2 || static_cast<std::size_t>(max_dimension) > n - 1) {
    return "m = " + std::to_string(max_dimension) + " needs at least " +
           std::to_string(max_dimension + 1) + " values; there are " + std::to_string(n);
  }
  return {};
}

std::string CheckGrid(std::span<const double> series, std::span<const double> fractions) {
  return CheckStatistics(Describe(series), fractions);
}

Result<SlopeInput> SlopeInputFor(std::span<const double> series, const IxoSettings& settings) {
  assert(settings.subint >= 1 && settings.subint <= kMaxSubintervals);
  const Statistics stats = Describe(series);
  const double fractions[] = {settings.eps_low, settings.eps_high};
  if (std::string why = CheckStatistics(stats, fractions); !why.empty())
    return Failure<SlopeInput>(std::move(why));
  return {SlopeInput{series,
                     DistanceGrid(settings.eps_low, settings.eps_high, stats.sd, settings.subint),
                     stats.spread, settings.cm_limit},
          {}};
}

}  // namespace ixo

#include "analysis/normal_distribution.h"

#include <cmath>

namespace ixo {
namespace {

constexpr long double kSqrtTwoPi = 2.506628274631000502415765284811045253L;

// P(V < t) for a standard normal V; the approximation only covers t >= 0, the
// lower half follows by symmetry.
double ProbabilityBelow(double t) {
  const std::optional<float> upper = NormalCdf(std::fabs(static_cast<long double>(t)));
  if (!upper) return std::nan("");  // t is NaN
  return t >= 0 ? *upper : 1.0 - *upper;
}

}  // namespace

long double NormalDensity(long double x) {
  return std::exp(-x * x / 2) / kSqrtTwoPi;
}

std::optional<float> NormalCdf(long double x) {
  if (!(x >= 0)) return std::nullopt;
  constexpr long double b1 = 0.319381530L;
  constexpr long double b2 = -0.356563782L;
  constexpr long double b3 = 1.781477937L;
  constexpr long double b4 = -1.821255978L;
  constexpr long double b5 = 1.330274429L;
  const long double t = 1 / (1 + 0.2316419L * x);
  const long double t2 = t * t;
  const long double t3 = t * t2;
  const long double t4 = t2 * t2;
  const long double t5 = t * t4;
  const long double tail = NormalDensity(x) * (b1 * t + b2 * t2 + b3 * t3 + b4 * t4 + b5 * t5);
  return static_cast<float>(1 - tail);
}

std::vector<ChartPoint> DrawNormalCurve(int bins) {
  std::vector<ChartPoint> curve;
  if (bins <= 0) return curve;
  curve.reserve(static_cast<size_t>(bins));
  for (int k = 1; k <= bins; ++k) {
    const BinEdges edges = EdgesOfBin(k, bins);
    curve.push_back(
        {(edges.lo + edges.hi) / 2, ProbabilityBelow(edges.hi) - ProbabilityBelow(edges.lo)});
  }
  return curve;
}

}  // namespace ixo

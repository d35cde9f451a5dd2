#include "monte_carlo.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace ixo {

double MonteCarloPValue(double observed, std::span<const double> replicated) {
  assert(!replicated.empty());
  return PValueFromTails(CountTails(observed, replicated),
                         static_cast<long long>(replicated.size()));
}

TailCounts CountTails(double observed, std::span<const double> replicated) {
  TailCounts tails;
  for (double t : replicated) {
    if (t <= observed) ++tails.at_most;
    if (t >= observed) ++tails.at_least;
    if (t == t) ++tails.counted;
  }
  return tails;
}

double PValueFromTails(const TailCounts& tails, long long replications) {
  assert(replications >= 1);
  const double total = static_cast<double>(replications) + 1;
  const double at_most = static_cast<double>(tails.at_most) + 1;
  const double at_least = static_cast<double>(tails.at_least) + 1;
  return std::min(1.0, 2 * std::min(at_most / total, at_least / total));
}

double Percentile(std::span<const double> sorted, double p) {
  assert(!sorted.empty() && p >= 0 && p <= 100);
  const double h = static_cast<double>(sorted.size() - 1) * p / 100;
  const auto low = static_cast<std::size_t>(std::floor(h));
  if (low + 1 >= sorted.size()) return sorted.back();
  return sorted[low] + (h - static_cast<double>(low)) * (sorted[low + 1] - sorted[low]);
}

}  // namespace ixo

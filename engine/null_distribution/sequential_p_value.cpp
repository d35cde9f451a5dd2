#include "sequential_p_value.h"

#include <algorithm>
#include <cassert>

#include "monte_carlo.h"

namespace ixo {

int SequentialLimit(int tail_count, int replications) {
  if (tail_count <= 0) return 0;
  // 20h - 1 in 64 bits: a tail count near the int range must not wrap.
  const long long limit = std::min(static_cast<long long>(replications) - 1,
                                   20LL * static_cast<long long>(tail_count) - 1);
  return static_cast<int>(std::max(0LL, limit));
}

std::optional<int> SequentialStop(double observed, std::span<const double> replicated,
                                  int tail_count, int limit) {
  if (tail_count <= 0) return std::nullopt;
  int at_most = 0;
  int at_least = 0;
  const int last = std::min(limit, static_cast<int>(replicated.size()));
  for (int r = 0; r < last; ++r) {
    at_most += replicated[r] <= observed;
    at_least += replicated[r] >= observed;
    if (at_most >= tail_count && at_least >= tail_count) return r + 1;
  }
  return std::nullopt;
}

double SequentialPValue(double observed, std::span<const double> replicated, int tail_count,
                        int replications) {
  const int limit = SequentialLimit(tail_count, replications);
  if (const std::optional<int> stop = SequentialStop(observed, replicated, tail_count, limit))
    return std::min(1.0, 2.0 * tail_count / *stop);
  assert(static_cast<int>(replicated.size()) == replications);
  return MonteCarloPValue(observed, replicated);
}

}  // namespace ixo

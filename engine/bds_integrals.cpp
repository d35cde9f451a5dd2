#include "bds_integrals.h"

#include <cassert>

#include "close_value_sums.h"
#include "ixo_settings.h"
#include "pair_counts.h"

namespace ixo {

KernelResult BdsIntegrals(std::span<const double> x, int m, double eps, PairCountPath path) {
  const int n = static_cast<int>(x.size());
  assert(n >= 2 && m >= 1 && m <= kMaxDimension && m <= n - 1 && eps > 0);

  const CloseValueSums sums = SumCloseValues(x, eps);
  KernelResult result;
  result.K = sums.K;
  result.c = sums.c;
  result.integrals[1] = sums.c_1;
  if (m >= 2) {
    const double grid[] = {eps};
    const PairCounts counts = CountClosePairs(x, grid, m, Dimensions::kAll, 0, path);
    for (int i = 2; i <= m; ++i)
      result.integrals[i] = CorrelationIntegralFromCount(counts.At(i, 0), n, i);
  }
  return result;
}

}  // namespace ixo

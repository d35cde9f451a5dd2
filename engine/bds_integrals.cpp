#include "bds_integrals.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <vector>

#include "pair_counts.h"

namespace ixo {

KernelResult BdsIntegrals(std::span<const double> x, int m, double eps) {
  const int n = static_cast<int>(x.size());
  assert(n >= 2 && m >= 1 && m <= 16 && m <= n - 1 && eps > 0);

  // f of each value in ascending order, as the kernel's neighbour scan finds
  // it: the values v_q >= v_p with v_q - v_p <= eps and the v_r < v_p with
  // v_p - v_r <= eps. A rounded difference grows with its first operand and
  // shrinks with its second, so both sets are runs next to p whose ends only
  // move up with p. Equal values have equal f, so the sum of squares is
  // added in the kernel's order whatever order the sort gives ties.
  std::vector<double> sorted(x.begin(), x.end());
  std::sort(sorted.begin(), sorted.end());
  std::int64_t total = 0;  // T
  double squares = 0;      // S
  int low = 0;
  int high = 0;
  for (int p = 0; p < n; ++p) {
    const double vp = sorted[p];
    high = std::max(high, p);
    while (high < n && sorted[high] - vp <= eps) ++high;
    while (vp - sorted[low] > eps) ++low;
    const std::int64_t f = high - low;
    total += f;
    squares += static_cast<double>(f * f);
  }

  KernelResult result;
  const double nd = n;
  result.K = squares / (nd * nd * nd);
  result.c = static_cast<double>(total) / (nd * nd);
  result.integrals[1] = static_cast<double>(total - n) / (nd * (nd - 1));
  if (m >= 2) {
    const double grid[] = {eps};
    const PairCounts counts = CountClosePairs(x, grid, m);
    for (int i = 2; i <= m; ++i)
      result.integrals[i] = CorrelationIntegralFromCount(counts.At(i, 0), n, i);
  }
  return result;
}

}  // namespace ixo

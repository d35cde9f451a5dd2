#include "close_value_sums.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <vector>

namespace ixo {

CloseValueSums SumCloseValues(std::span<const double> x, double eps) {
  const int n = static_cast<int>(x.size());
  assert(n >= 2 && eps >= 0);
  std::vector<double> v(x.begin(), x.end());
  std::sort(v.begin(), v.end());
  // For ascending p the values within eps start at `low` and end before `high`;
  // both only move up, as v[q] - v[p] does not grow with p.
  std::int64_t total = 0;
  double squares = 0;
  int low = 0;
  int high = 0;
  for (int p = 0; p < n; ++p) {
    while (v[p] - v[low] > eps) ++low;
    if (high < p + 1) high = p + 1;
    while (high < n && v[high] - v[p] <= eps) ++high;
    const std::int64_t f = high - low;
    total += f;
    squares += static_cast<double>(f * f);
  }
  CloseValueSums sums;
  const double nd = n;
  sums.K = squares / (nd * nd * nd);
  sums.c = static_cast<double>(total) / (nd * nd);
  sums.c_1 = static_cast<double>(total - n) / (nd * (nd - 1));
  return sums;
}

}  // namespace ixo

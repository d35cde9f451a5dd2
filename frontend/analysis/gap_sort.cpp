#include "analysis/gap_sort.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace ixo {
namespace {

// Round to the nearest integer, an exact half to the even neighbour,
// independent of the floating-point rounding mode.
int RoundHalfEven(double x) {
  const double floor_x = std::floor(x);
  const double fraction = x - floor_x;
  double result = floor_x;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor_x, 2.0) != 0)) result += 1;
  return static_cast<int>(result);
}

}  // namespace

int GapSortGauge(int count, int gap) {
  if (gap < 2) return 100;
  assert(count >= 2 * gap);
  const double last = count - 1;
  // The ratio of the logarithms first: for counts where L is a power of the
  // gap's base this gives the exact quarter and eighth steps, so exact halves
  // really are halves and round to even.
  return RoundHalfEven(100 * (std::log(last / gap) / std::log(last)));
}

void GapSort(std::span<double> values, std::span<int> order, const GaugeCallback& gauge) {
  assert(values.size() == order.size());
  const int n = static_cast<int>(values.size());
  int gap = n;
  while (gap > 1) {
    gap /= 2;
    // Passes until one exchanges nothing. Every pair at or beyond the last
    // exchange of a pass is in order for good (each chain of items `gap` apart
    // is bubble-sorted), so the next pass stops there: the same exchanges in
    // the same order, without the comparisons that could not exchange.
    int limit = n - gap;
    while (limit > 0) {
      int last_exchange = 0;
      for (int j = 0; j < limit; ++j) {
        if (values[j] > values[j + gap]) {
          std::swap(values[j], values[j + gap]);
          std::swap(order[j], order[j + gap]);
          last_exchange = j;
        }
      }
      limit = last_exchange;
    }
    if (gauge) gauge(GapSortGauge(n, gap));
  }
}

}  // namespace ixo

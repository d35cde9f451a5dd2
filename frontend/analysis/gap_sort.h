// The histogram's in-place sort of the standardized series: a diminishing-gap
// exchange sort whose gap halves from N down to 1, with bubble passes at each gap
// until a pass exchanges nothing. The progress gauge is set after every gap
// stage, so the exact order of stages and exchanges is part of what users see.
#pragma once

#include <functional>
#include <span>

namespace ixo {

// Called with the gauge percentage after each gap stage.
using GaugeCallback = std::function<void(int percent)>;

// The gauge after the stage with gap `gap` of a sort of `count` items: 100 when
// gap < 2, else 100 * ln(L / gap) / ln(L) with L = count - 1, rounded to the
// nearest integer, halves to the even neighbour. Requires 2 <= gap <= count / 2
// when gap >= 2.
int GapSortGauge(int count, int gap);

// Sorts `values` ascending and applies every exchange to `order` as well, so
// that `order` ends up holding where each value came from when it starts as
// 0, 1, 2, ... Items are exchanged only when the first is strictly greater, so
// equal values keep the order the passes leave them in. `gauge`, when set, is
// called after every gap stage. Requires values.size() == order.size().
void GapSort(std::span<double> values, std::span<int> order, const GaugeCallback& gauge);

}  // namespace ixo

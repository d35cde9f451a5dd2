// The dimension-one sums of the BDS statistic without the kernel's tables:
// C_1, K and c of one series at one distance, from one sort. They depend on the
// values alone, not on their order, so every permutation of a series shares them.
#pragma once

#include <span>

namespace ixo {

struct CloseValueSums {
  double c_1 = 0;  // C_1(eps): share of the pairs of values within eps
  double K = 0;    // (1 / n^3) * sum over i of f_i^2
  double c = 0;    // (1 / n^2) * sum over i of f_i
};

// f_i = the number of values x_j (x_i itself included) with |x_i - x_j| <= eps,
// found with the kernel's differences of sorted values and summed in the same
// double arithmetic, so that the three numbers equal the kernel's integrals[1],
// K and c bit for bit. Requires n = x.size() >= 2, finite values and eps >= 0.
// O(n log n) time, O(n) memory; safe to call from several threads at once.
CloseValueSums SumCloseValues(std::span<const double> x, double eps);

}  // namespace ixo

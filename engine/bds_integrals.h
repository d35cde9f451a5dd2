// The inputs of the BDS statistic for one distance -- C_1 .. C_m, K and c,
// exactly as the correlation-integral kernel defines and rounds them -- in
// O(n) memory: the close pairs come from the whole-grid pair counts, f_i from
// a two-pointer scan over the sorted values (SumCloseValues), instead of the kernel's n^2 / 30
// words of bit rows.
#pragma once

#include <span>

#include "correlation_integrals.h"
#include "pair_counts.h"

namespace ixo {

// What correlation_integrals(x, m, eps) returns, bit for bit, for the same
// x, m and eps (same requirements: n = x.size() >= 2, 1 <= m <= 16,
// m <= n - 1, eps > 0, finite values). Uses every core for long series; needs
// no table and never ends the process (std::bad_alloc if memory runs out).
// `path` chooses the instructions of the pair counts; the result is the same.
KernelResult BdsIntegrals(std::span<const double> x, int m, double eps,
                          PairCountPath path = PairCountPath::kAuto);

}  // namespace ixo

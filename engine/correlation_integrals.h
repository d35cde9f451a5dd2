// The correlation-integral kernel: for one series, one distance eps and a top
// dimension m, the correlation integrals C_1(eps) .. C_m(eps) and the two sums K
// and c that the BDS variance needs.
//
// C_i is the share of close pairs among the M = n - i + 1 i-histories
// (x_r, .., x_(r+i-1)): two histories are close when every coordinate differs by
// at most eps (maximum norm; a difference equal to eps is close), and
// C_i = 2 * close pairs / (M * (M - 1)).
//
// Method: the close pairs of single values come from one sort and a scan over
// sorted neighbours, stored as one bit per pair in one bit row per position, 15
// lags to a 16-bit word (bit 15 stays 0, so a word indexes a 32768-entry
// bit-count table directly). Dimension i comes from dimension i - 1 by one
// in-place AND of every row with the next row; two masks per row hide the
// partners whose history would run past the end of the series, which is why m is
// at most 16. This kernel is the engine's documented reference: any faster
// counting path must give identical counts.
//
// The tables live in the module: built on the first call (sized by its n), kept
// for later calls, freed by release_tables. Not reentrant; one caller at a time.
#pragma once

#include <array>
#include <span>

namespace ixo {

struct KernelResult {
  std::array<double, 17> integrals{};  // entries 1 .. m hold C_1 .. C_m; entry 0 unused
  double K = 0;  // (1 / n^3) * sum over i of f_i^2, f_i = number of j with |x_i - x_j| <= eps
  double c = 0;  // (1 / n^2) * sum over i of f_i (pairs i = j included)
};

// Requires n = x.size() >= 2, 1 <= m <= 16, m <= n - 1 and eps > 0. For m = 1
// only C_1, K and c are computed. A call with another n than the tables were
// built for rebuilds them. If the tables would need more memory than the process
// has available (said on standard error before any allocation), or cannot be
// allocated, frees whatever part of them was built and throws std::bad_alloc,
// the language's own report of memory that ran out; RunEngine turns it into
// "Out of memory\n" on standard output and exit status -1.
KernelResult correlation_integrals(std::span<const double> x, int m, double eps);

// Frees the kernel's tables. A later call of correlation_integrals builds them anew.
void release_tables();

}  // namespace ixo

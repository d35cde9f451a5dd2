// Fuzz target: the engine's whole-grid close-pair counts against its reference
// kernel, on short series built to have ties: values that are small multiples
// of a step, and distances that often equal a difference exactly (a difference
// equal to the distance counts as close, which is where counting paths part).
//
// Input layout: byte 0 gives the top dimension m (1 + byte % 16), byte 1 the
// number of grid points (1 + byte % 6) and in its high bit whether to count on
// two threads, byte 2 picks the step (1, 0.1, 1e-300 or a power of two); then
// one byte per grid point (the distance in quarter steps, 0 giving a tiny
// distance), and the rest are the values, as signed bytes times the step,
// repeated to a series of 40. The length stays fixed because the kernel
// rebuilds its tables (a millisecond under the sanitizers) whenever n changes.
//
// Checked on every counting path this processor runs (portable, AVX2,
// AVX-512): for every grid point and every dimension 1..m, C_j from the counts
// equals the kernel's C_j bit for bit, and counting the top dimension alone
// gives the same top row; and the O(n) BDS inputs equal the kernel's result.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bds_integrals.h"
#include "correlation_integrals.h"
#include "fuzz_check.h"
#include "pair_counts.h"

namespace {

constexpr size_t kValues = 40;

double Step(uint8_t choice) {
  switch (choice % 4) {
    case 0:
      return 1.0;
    case 1:
      return 0.1;
    case 2:
      return 1e-300;
    default:
      return 1.0 / static_cast<double>(1u << (choice / 4 % 8));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int m = 1 + data[0] % 16;
  const int points = 1 + data[1] % 6;
  const int threads = (data[1] & 0x80) ? 2 : 1;
  const double step = Step(data[2]);
  size_t at = 3;
  if (size < at + static_cast<size_t>(points)) return 0;
  std::vector<double> grid;
  for (int k = 0; k < points; ++k) {
    const uint8_t g = data[at++];
    grid.push_back(g == 0 ? step * 1e-3 : g * step / 4);
  }
  if (at == size) return 0;
  std::vector<double> x;
  for (size_t i = 0; i < kValues; ++i) {
    x.push_back(static_cast<int8_t>(data[at + i % (size - at)]) * step);
  }
  const int n = static_cast<int>(x.size());

  std::vector<ixo::KernelResult> kernel;
  for (int k = 0; k < points; ++k)
    kernel.push_back(ixo::correlation_integrals(x, m, grid[static_cast<size_t>(k)]));
  for (ixo::PairCountPath path :
       {ixo::PairCountPath::kPortable, ixo::PairCountPath::kAvx2, ixo::PairCountPath::kAvx512}) {
    if (!ixo::PairCountPathSupported(path)) continue;
    ixo::PairCountWorkspace workspace(path, threads);
    const ixo::PairCounts all = workspace.Count(x, grid, m, ixo::Dimensions::kAll);
    const ixo::PairCounts above = workspace.Count(x, grid, m, ixo::Dimensions::kAboveOne);
    const ixo::PairCounts& top = workspace.Count(x, grid, m, ixo::Dimensions::kTopOnly);
    for (int k = 0; k < points; ++k) {
      for (int j = 1; j <= m; ++j) {
        IXO_FUZZ_CHECK(ixo::CorrelationIntegralFromCount(all.At(j, k), n, j) ==
                       kernel[static_cast<size_t>(k)].integrals[j]);
      }
      IXO_FUZZ_CHECK(top.At(m, k) == all.At(m, k));
      for (int j = 2; j <= m; ++j) IXO_FUZZ_CHECK(above.At(j, k) == all.At(j, k));
      IXO_FUZZ_CHECK(above.At(1, k) == (m == 1 ? all.At(1, k) : 0));
    }
  }
  for (int k = 0; k < points; ++k) {
    const double eps = grid[static_cast<size_t>(k)];
    if (!(eps > 0) || m > n - 1) continue;
    const ixo::KernelResult counted = ixo::BdsIntegrals(x, m, eps);
    const ixo::KernelResult& expected = kernel[static_cast<size_t>(k)];
    IXO_FUZZ_CHECK(counted.K == expected.K && counted.c == expected.c);
    for (int j = 1; j <= m; ++j) IXO_FUZZ_CHECK(counted.integrals[j] == expected.integrals[j]);
  }
  // The kernel keeps its tables for the next run and rebuilds them when n changes.
  return 0;
}

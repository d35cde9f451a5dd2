// The close-pair counts of one series on one thread, on each counting path
// this processor runs (IXO_PAIR_COUNT_PATH does not apply here): a fresh
// CountClosePairs call against a reused PairCountWorkspace, as the
// permutation and critical-value runs count one series after another. The
// series are i.i.d. normal (our own generator), the grid is write mode 0's
// default (m = 10, 41 points from 0.25 to 1.00 sd, sd = 1). ns/pair/dim is
// the CPU time per pair of positions and dimension counted (m of them, or
// the top one alone).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "pair_counts.h"

namespace {

std::vector<double> NormalSeries(int n, std::uint64_t seed) {
  std::vector<double> x(n);
  auto uniform = [&seed] {
    seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
    return (static_cast<double>(seed >> 11) + 0.5) * 0x1.0p-53;
  };
  for (double& v : x)
    v = std::sqrt(-2 * std::log(uniform())) * std::cos(2 * std::numbers::pi * uniform());
  return x;
}

std::vector<double> DefaultGrid() {
  std::vector<double> grid;
  const double low = std::log(0.25) / std::log(3.0);
  const double high = std::log(1.0) / std::log(3.0);
  for (int k = 0; k <= 40; ++k) grid.push_back(std::pow(3.0, low + k * (high - low) / 40));
  return grid;
}

constexpr ixo::PairCountPath kPaths[] = {ixo::PairCountPath::kPortable, ixo::PairCountPath::kAvx2,
                                         ixo::PairCountPath::kAvx512};

// range(0): n; range(1): the path's index in kPaths; range(2): 1 to reuse one
// workspace, 0 for a fresh one per series; range(3): 1 for the top dimension
// alone (write mode 1), 0 for every dimension (write mode 0).
void BM_CountClosePairs(benchmark::State& state) {
  const auto path = kPaths[state.range(1)];
  if (!ixo::PairCountPathSupported(path)) {
    state.SkipWithError("this processor lacks the path");
    return;
  }
  const std::vector<double> x = NormalSeries(static_cast<int>(state.range(0)), 7);
  const std::vector<double> grid = DefaultGrid();
  const auto which = state.range(3) == 1 ? ixo::Dimensions::kTopOnly : ixo::Dimensions::kAll;
  ixo::PairCountWorkspace reused(path);
  for (auto _ : state) {
    if (state.range(2) == 1) {
      benchmark::DoNotOptimize(reused.Count(x, grid, 10, which).At(10, 40));
    } else {
      ixo::PairCountWorkspace fresh(path);
      benchmark::DoNotOptimize(fresh.Count(x, grid, 10, which).At(10, 40));
    }
  }
  const double pairs = static_cast<double>(state.range(0)) * (state.range(0) - 1) / 2;
  const double dimensions = state.range(3) == 1 ? 1 : 10;
  state.counters["ns/pair/dim"] =
      benchmark::Counter(pairs * dimensions * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BM_CountClosePairs)
    ->ArgNames({"n", "path", "reused", "top"})
    ->ArgsProduct({{1000, 10000}, {0, 1, 2}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

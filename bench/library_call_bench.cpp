// The library call behind the Python module's ixo.test(x, reps=0) alone, so
// that bench/python_vs_statsmodels.py can tell the module's own cost: the Ixo
// values of dimensions 2..10 with ixo_cli's default settings, on every core.
// The series is the file named by IXO_BENCH_SERIES (numbers separated by white
// space), else 500 i.i.d. N(0, 1) values of the simulations' own generator.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ixo_test.h"
#include "random_stream.h"
#include "series_file.h"

namespace {

std::vector<double> BenchSeries() {
  if (const char* path = std::getenv("IXO_BENCH_SERIES")) {
    ixo::SeriesFile file = ixo::ReadSeriesFile(path, "library_call_bench: ");
    if (!file.error.empty()) {
      std::fprintf(stderr, "%s\n", file.error.c_str());
      std::exit(1);
    }
    return file.values;
  }
  ixo::RandomStream stream(ixo::kDefaultSeed, 0);
  std::vector<double> x(500);
  for (double& v : x) v = stream.Normal();
  return x;
}

void BM_IxoValuesWithoutPermutations(benchmark::State& state) {
  static const std::vector<double> x = BenchSeries();
  const ixo::IxoSettings settings;
  ixo::Simulation simulation;
  simulation.replications = 0;
  for (auto _ : state) {
    ixo::Result<ixo::IxoTestReport> test = ixo::IxoTest(x, settings, simulation);
    benchmark::DoNotOptimize(test.value->rows.data());
  }
}

}  // namespace

BENCHMARK(BM_IxoValuesWithoutPermutations)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();

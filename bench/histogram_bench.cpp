// The histogram window's computation: the first one after a load (moments,
// standardization, the gap sort of the list, bins and curve) and a later one,
// which only bins the prepared list again.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "analysis/histogram_computation.h"
#include "analysis/number_text.h"
#include "analysis/observation_list.h"

namespace {

// A list as the import leaves it: `count` values in file order, 15-digit texts,
// a leading blank on values of 0 or more. The values are sums of four uniform
// numbers from a fixed-seed generator, roughly bell-shaped around 0.
ixo::VectorObservationList ImportedList(int count) {
  ixo::VectorObservationList list;
  std::uint64_t state = 20240611;
  for (int i = 0; i < count; ++i) {
    double x = 0;
    for (int k = 0; k < 4; ++k) {
      state = state * 6364136223846793005ULL + 1442695040888963407ULL;
      x += static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5;
    }
    std::string text = x >= 0 ? " " : "";
    text += ixo::GeneralNumberText(x * 7.3 + 12.5, '.');
    list.Append(text);
  }
  return list;
}

void BM_FirstHistogram(benchmark::State& state) {
  const ixo::VectorObservationList imported = ImportedList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    ixo::VectorObservationList list = imported;
    state.ResumeTiming();
    ixo::HistogramResult result = ixo::ComputeHistogram(list, 0, "9", '.', [](int) {});
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_FirstHistogram)->Arg(500)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RebinPreparedHistogram(benchmark::State& state) {
  ixo::VectorObservationList list = ImportedList(static_cast<int>(state.range(0)));
  benchmark::DoNotOptimize(ixo::ComputeHistogram(list, 0, "9", '.', nullptr));
  for (auto _ : state) {
    ixo::HistogramResult result = ixo::ComputeHistogram(list, 100, "50", '.', nullptr);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_RebinPreparedHistogram)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#include "permutation_tests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bds_statistics.h"
#include "pair_counts.h"
#include "permutation_draws.h"

namespace ixo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Result<IxoPermutationTest> IxoTestOf(std::span<const double> series, const IxoSettings& settings,
                                     const Simulation& simulation) {
  const double fractions[] = {settings.eps_low, settings.eps_high};
  std::string error = CheckIxoSettings(settings, series.size());
  if (error.empty()) error = CheckGrid(series, fractions);
  if (!error.empty()) return Failure<IxoPermutationTest>(std::move(error));
  IxoPermutationTest test;
  test.observed = IxoValues(series, settings, simulation.threads);
  if (simulation.replications <= 0) return {std::move(test), {}};

  std::vector<double> observed;
  for (const DimensionSlope& d : test.observed) observed.push_back(d.slope);
  std::vector<double> table;
  // A permuted copy's sd may differ from the series' in the last bits, as the
  // engine would find; a copy without a grid leaves its row NaN.
  const Result<int> drawn = Permute(
      series, simulation, observed, table,
      [&](std::span<const double> copy, std::span<double> row, PairCountWorkspace& workspace, int) {
        for (const DimensionSlope& d : IxoValues(copy, settings, 1, &workspace))
          row[d.dimension - 2] = d.slope;
      });
  if (!drawn.ok()) return Failure<IxoPermutationTest>(drawn.error);
  if (std::any_of(table.begin(), table.end(), [](double v) { return std::isnan(v); })) {
    return Failure<IxoPermutationTest>(
        "a permuted copy admits no distance grid: " +
        std::string("the values are too large for their mean and sd to be computed"));
  }
  const ColumnPValues p = PValuesOf(observed, table, simulation);
  for (std::size_t i = 0; i < observed.size(); ++i) {
    test.p_values.push_back(p.raw[i].value_or(kNaN));
    test.p_adjusted.push_back(p.adjusted[i].value_or(kNaN));
  }
  test.p_overall = p.overall;
  test.drawn = *drawn.value;
  test.replicated = std::move(table);
  return {std::move(test), {}};
}

Result<BdsPermutationTest> BdsTestOf(std::span<const double> series, int max_dimension,
                                     std::span<const double> eps_fractions,
                                     const Simulation& simulation) {
  std::string error = CheckDimensions(max_dimension, series.size());
  if (error.empty() && eps_fractions.empty()) error = "no distance given";
  if (error.empty()) error = CheckGrid(series, eps_fractions);
  if (!error.empty()) return Failure<BdsPermutationTest>(std::move(error));

  const BdsStatistics statistics(series, max_dimension, eps_fractions);
  const int distances = static_cast<int>(eps_fractions.size());
  std::vector<double> observed(statistics.size());
  PairCountWorkspace workspace;
  statistics.Fill(series, observed.data(), workspace);
  BdsPermutationTest test;
  std::vector<double> table;
  ColumnPValues p;
  if (simulation.replications > 0) {
    const Result<int> drawn = Permute(series, simulation, observed, table,
                                      [&](std::span<const double> copy, std::span<double> row,
                                          PairCountWorkspace& worker_workspace, int) {
                                        statistics.Fill(copy, row.data(), worker_workspace);
                                      });
    if (!drawn.ok()) return Failure<BdsPermutationTest>(drawn.error);
    test.drawn = *drawn.value;
    p = PValuesOf(observed, table, simulation);
  }
  for (std::size_t column = 0; column < observed.size(); ++column) {
    BdsValue value;
    value.m = 2 + static_cast<int>(column) / distances;
    value.eps = eps_fractions[column % distances];
    if (!std::isnan(observed[column])) {
      value.bds = observed[column];
      value.p_normal = std::erfc(std::fabs(observed[column]) / std::sqrt(2.0));
      if (simulation.replications > 0) {
        value.p_permutation = p.raw[column];
        value.p_adjusted = p.adjusted[column];
      }
    }
    test.values.push_back(value);
  }
  test.p_overall = p.overall;
  test.replicated = std::move(table);
  return {std::move(test), {}};
}

}  // namespace

std::vector<DimensionSlope> IxoValues(std::span<const double> series, const IxoSettings& settings,
                                      int threads, PairCountWorkspace* workspace) {
  Result<SlopeInput> input = SlopeInputFor(series, settings);
  if (!input.ok()) return {};
  input.value->threads = threads;
  input.value->workspace = workspace;
  return IxoSlopes(*input.value, 2, settings.max_dimension);
}

Result<IxoPermutationTest> PermutationTestIxo(std::span<const double> series,
                                              const IxoSettings& settings,
                                              const Simulation& simulation) {
  return OutOfMemoryAsFailure<IxoPermutationTest>(
      [&] { return IxoTestOf(series, settings, simulation); });
}

Result<BdsPermutationTest> PermutationTestBds(std::span<const double> series, int max_dimension,
                                              std::span<const double> eps_fractions,
                                              const Simulation& simulation) {
  return OutOfMemoryAsFailure<BdsPermutationTest>(
      [&] { return BdsTestOf(series, max_dimension, eps_fractions, simulation); });
}

}  // namespace ixo

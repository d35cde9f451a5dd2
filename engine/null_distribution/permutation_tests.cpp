#include "permutation_tests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bds.h"
#include "bds_statistics.h"
#include "pair_counts.h"
#include "permutation_draws.h"

namespace ixo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Column j of `table` (rows of `columns` values), in row order.
std::vector<double> ColumnOf(const std::vector<double>& table, std::size_t columns, std::size_t j) {
  std::vector<double> values;
  for (std::size_t r = 0; r * columns < table.size(); ++r) values.push_back(table[r * columns + j]);
  return values;
}

Result<IxoPermutationTest> IxoTestOf(std::span<const double> series, const IxoSettings& settings,
                                     const Simulation& simulation) {
  const double fractions[] = {settings.eps_low, settings.eps_high};
  std::string error = CheckIxoSettings(settings, series.size());
  if (error.empty()) error = CheckGrid(series, fractions);
  if (!error.empty()) return Failure<IxoPermutationTest>(std::move(error));
  Result<SlopeInput> input = SlopeInputFor(series, settings);
  if (!input.ok()) return Failure<IxoPermutationTest>(std::move(input.error));
  input.value->threads = simulation.threads;
  input.value->pair_count_path = simulation.pair_count_path;
  IxoPermutationTest test;
  test.observed = IxoSlopes(*input.value, 2, settings.max_dimension);
  if (simulation.replications <= 0) return {std::move(test), {}};

  std::vector<double> observed;
  for (const DimensionSlope& d : test.observed) observed.push_back(HasIxoValue(d) ? d.slope : kNaN);
  std::vector<double> table;
  const Result<int> drawn = Permute(
      series, simulation, observed, table,
      [&](std::span<const double> copy, std::span<double> row, PairCountWorkspace& workspace, int) {
        FillIxoRow(*input.value, settings.max_dimension, copy, row, workspace);
      });
  if (!drawn.ok()) return Failure<IxoPermutationTest>(drawn.error);
  const ColumnPValues p = PValuesOf(observed, table, simulation);
  for (std::size_t j = 0; j < observed.size(); ++j)
    test.null_distribution.push_back(ColumnOf(table, observed.size(), j));
  test.p_values = p.raw;
  test.p_adjusted = p.adjusted;
  test.p_overall = p.overall;
  test.drawn = *drawn.value;
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
  PairCountWorkspace workspace(simulation.pair_count_path);
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
    for (std::size_t j = 0; j < observed.size(); ++j)
      test.null_distribution.push_back(ColumnOf(table, observed.size(), j));
  }
  for (std::size_t column = 0; column < observed.size(); ++column) {
    BdsValue value;
    value.m = 2 + static_cast<int>(column) / distances;
    value.eps = eps_fractions[column % distances];
    if (!std::isnan(observed[column])) {
      value.bds = observed[column];
      if (BdsNormalLawHolds(series.size(), value.m, value.eps))
        value.p_normal = std::erfc(std::fabs(observed[column]) / std::sqrt(2.0));
      if (simulation.replications > 0) {
        value.p_permutation = p.raw[column];
        value.p_adjusted = p.adjusted[column];
      }
    }
    test.values.push_back(value);
  }
  test.p_overall = p.overall;
  return {std::move(test), {}};
}

}  // namespace

std::vector<DimensionSlope> IxoValues(std::span<const double> series, const IxoSettings& settings,
                                      int threads, PairCountWorkspace* workspace,
                                      PairCountPath path) {
  Result<SlopeInput> input = SlopeInputFor(series, settings);
  if (!input.ok()) return {};
  input.value->threads = threads;
  input.value->workspace = workspace;
  input.value->pair_count_path = path;
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

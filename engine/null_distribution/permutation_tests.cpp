#include "permutation_tests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bds.h"
#include "close_value_sums.h"
#include "monte_carlo.h"
#include "pair_counts.h"
#include "random_stream.h"
#include "replications.h"
#include "statistics.h"

namespace ixo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The table of `replicate(copy, row, workspace)` over every replication, the
// copy being the series shuffled by the replication's stream.
template <typename Replicate_>
Result<ReplicationTable> Permute(std::span<const double> series, const Simulation& simulation,
                                 int columns, const Replicate_& replicate) {
  return Replicate(simulation, columns, [&](Replication& r) {
    r.series.assign(series.begin(), series.end());
    Shuffle(r.series, r.stream);
    replicate(std::span<const double>(r.series), r.row, r.workspace);
  });
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

  // Every permuted copy is counted on the series' own grid and spread: its sd
  // and spread are the series' (a sum in another order would only differ in
  // the last bits), so equal counts give equal statistics, the ties that
  // count in both tails.
  const int columns = settings.max_dimension - 1;
  const Result<ReplicationTable> table = Permute(
      series, simulation, columns,
      [&](std::span<const double> copy, std::span<double> row, PairCountWorkspace& workspace) {
        SlopeInput permuted = *input.value;
        permuted.series = copy;
        permuted.threads = 1;
        permuted.workspace = &workspace;
        for (const DimensionSlope& d : IxoSlopes(permuted, 2, settings.max_dimension))
          row[d.dimension - 2] = HasIxoValue(d) ? d.slope : kNaN;
      });
  if (!table.ok()) return Failure<IxoPermutationTest>(table.error);
  // A statistic without a value has no p-value; a copy without one is left
  // out (given that the statistic exists, the copies that have it are as
  // likely as the series to take any rank among them).
  for (int column = 0; column < columns; ++column) {
    test.null_distribution.push_back(table.value->Column(column));
    std::vector<double> defined;
    for (double t : test.null_distribution.back())
      if (!std::isnan(t)) defined.push_back(t);
    const DimensionSlope& d = test.observed[column];
    test.p_values.push_back(HasIxoValue(d) && !defined.empty()
                                ? std::optional<double>(MonteCarloPValue(d.slope, defined))
                                : std::nullopt);
  }
  return {std::move(test), {}};
}

Result<BdsPermutationTest> BdsTestOf(std::span<const double> series, int max_dimension,
                                     std::span<const double> eps_fractions,
                                     const Simulation& simulation) {
  std::string error = CheckDimensions(max_dimension, series.size());
  if (error.empty() && eps_fractions.empty()) error = "no distance given";
  if (error.empty()) error = CheckGrid(series, eps_fractions);
  if (!error.empty()) return Failure<BdsPermutationTest>(std::move(error));

  const int n = static_cast<int>(series.size());
  const double sd = Describe(series).sd;
  const int distances = static_cast<int>(eps_fractions.size());
  std::vector<double> grid(distances);
  std::vector<CloseValueSums> sums(distances);
  for (int k = 0; k < distances; ++k) {
    grid[k] = eps_fractions[k] * sd;
    sums[k] = SumCloseValues(series, grid[k]);
  }
  // The statistic of every (m, distance) from the counts of one ordering of
  // the series; NaN where the variance is not positive.
  const auto statistics = [&](std::span<const double> x, std::span<double> row,
                              PairCountWorkspace& workspace) {
    const PairCounts& counts = workspace.Count(x, grid, max_dimension, Dimensions::kAboveOne);
    for (int m = 2; m <= max_dimension; ++m) {
      for (int k = 0; k < distances; ++k) {
        const CloseValueSums& s = sums[k];
        double bds = kNaN;
        if (BdsVariance(s.K, s.c, m) > 0) {
          const double c_m = CorrelationIntegralFromCount(counts.At(m, k), n, m);
          bds = std::sqrt(static_cast<double>(n - m + 1)) * bds_ratio(s.c_1, c_m, s.K, s.c, m);
        }
        row[(m - 2) * distances + k] = bds;
      }
    }
  };
  const int columns = (max_dimension - 1) * distances;
  std::vector<double> observed(columns);
  PairCountWorkspace workspace(simulation.pair_count_path);
  statistics(series, observed, workspace);
  const Result<ReplicationTable> table = Permute(series, simulation, columns, statistics);
  if (!table.ok()) return Failure<BdsPermutationTest>(table.error);
  BdsPermutationTest test;
  for (int column = 0; column < columns; ++column) {
    BdsValue value;
    value.m = 2 + column / distances;
    value.eps = eps_fractions[column % distances];
    if (!std::isnan(observed[column])) {
      value.bds = observed[column];
      if (BdsNormalLawHolds(series.size(), value.m, value.eps))
        value.p_normal = std::erfc(std::fabs(observed[column]) / std::sqrt(2.0));
      if (simulation.replications > 0)
        value.p_permutation = MonteCarloPValue(observed[column], table.value->Column(column));
    }
    test.values.push_back(value);
  }
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

#include "permutation_tests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bds.h"
#include "close_value_sums.h"
#include "monte_carlo.h"
#include "pair_counts.h"
#include "random_stream.h"
#include "statistics.h"

namespace ixo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Column `column` of a replications x columns table, one value per replication.
std::vector<double> Column(const std::vector<double>& table, int columns, int column) {
  std::vector<double> values(table.size() / columns);
  for (std::size_t r = 0; r < values.size(); ++r) values[r] = table[r * columns + column];
  return values;
}

// Runs `replicate(copy, table row, workspace)` on a shuffled copy of `series`
// for every replication, with the pair-count workspace of the worker's thread;
// the table has `columns` values per replication. Empty on success, else the
// reason (out of memory, interrupted).
template <typename Replicate>
std::string Permute(std::span<const double> series, const Simulation& simulation, int columns,
                    std::vector<double>& table, const Replicate& replicate) {
  const int count = simulation.replications;
  table.assign(static_cast<std::size_t>(count) * columns, kNaN);
  const int workers = WorkerCount(count, simulation.threads);
  std::vector<std::vector<double>> copies(workers);
  std::vector<PairCountWorkspace> workspaces(workers);
  const auto body = [&](int worker, int r) {
    std::vector<double>& copy = copies[worker];
    copy.assign(series.begin(), series.end());
    RandomStream stream(simulation.seed, static_cast<std::uint64_t>(r));
    Shuffle(copy, stream);
    replicate(std::span<const double>(copy), table.data() + static_cast<std::size_t>(r) * columns,
              workspaces[worker]);
  };
  return RunReplications(count, simulation.threads, body, simulation.progress, simulation.stop)
      .error;
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
  const double fractions[] = {settings.eps_low, settings.eps_high};
  std::string error = CheckIxoSettings(settings, series.size());
  if (error.empty()) error = CheckGrid(series, fractions);
  if (!error.empty()) return Failure<IxoPermutationTest>(std::move(error));
  IxoPermutationTest test;
  try {
    test.observed = IxoValues(series, settings, simulation.threads);
  } catch (const std::bad_alloc&) {
    return Failure<IxoPermutationTest>(kOutOfMemory);
  }
  if (simulation.replications <= 0) return {std::move(test), {}};

  const int columns = settings.max_dimension - 1;
  std::vector<double> table;
  // A permuted copy's sd may differ from the series' in the last bits, as the
  // engine would find; a copy without a grid leaves its row NaN.
  error = Permute(series, simulation, columns, table,
                  [&](auto copy, double* row, PairCountWorkspace& workspace) {
                    for (const DimensionSlope& d : IxoValues(copy, settings, 1, &workspace))
                      row[d.dimension - 2] = d.slope;
                  });
  if (!error.empty()) return Failure<IxoPermutationTest>(std::move(error));
  if (std::any_of(table.begin(), table.end(), [](double v) { return std::isnan(v); })) {
    return Failure<IxoPermutationTest>(
        "a permuted copy admits no distance grid: " +
        std::string("the values are too large for their mean and sd to be computed"));
  }
  for (int column = 0; column < columns; ++column) {
    test.p_values.push_back(
        MonteCarloPValue(test.observed[column].slope, Column(table, columns, column)));
  }
  return {std::move(test), {}};
}

Result<BdsPermutationTest> PermutationTestBds(std::span<const double> series, int max_dimension,
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
  // The statistic of every (m, distance) from the counts of one ordering of
  // the series; NaN where the variance is not positive.
  const auto statistics = [&](std::span<const double> x, double* row,
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
  std::vector<double> table;
  try {
    for (int k = 0; k < distances; ++k) {
      grid[k] = eps_fractions[k] * sd;
      sums[k] = SumCloseValues(series, grid[k]);
    }
    PairCountWorkspace workspace;
    statistics(series, observed.data(), workspace);
  } catch (const std::bad_alloc&) {
    return Failure<BdsPermutationTest>(kOutOfMemory);
  }
  if (simulation.replications > 0) {
    error = Permute(series, simulation, columns, table, statistics);
    if (!error.empty()) return Failure<BdsPermutationTest>(std::move(error));
  }
  BdsPermutationTest test;
  for (int column = 0; column < columns; ++column) {
    BdsValue value;
    value.m = 2 + column / distances;
    value.eps = eps_fractions[column % distances];
    if (!std::isnan(observed[column])) {
      value.bds = observed[column];
      value.p_normal = std::erfc(std::fabs(observed[column]) / std::sqrt(2.0));
      if (simulation.replications > 0)
        value.p_permutation = MonteCarloPValue(observed[column], Column(table, columns, column));
    }
    test.values.push_back(value);
  }
  return {std::move(test), {}};
}

}  // namespace ixo

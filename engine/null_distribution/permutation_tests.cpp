#include "permutation_tests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bds.h"
#include "close_value_sums.h"
#include "grid.h"
#include "monte_carlo.h"
#include "pair_counts.h"
#include "random_stream.h"
#include "statistics.h"

namespace ixo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kOutOfMemory = "out of memory";

// Column `column` of a replications x columns table, one value per replication.
std::vector<double> Column(const std::vector<double>& table, int columns, int column) {
  std::vector<double> values(table.size() / columns);
  for (std::size_t r = 0; r < values.size(); ++r) values[r] = table[r * columns + column];
  return values;
}

// Runs `replicate(copy, table row, workspace)` on a shuffled copy of `series`
// for every replication, with the pair-count workspace of the worker's thread;
// the table has `columns` values per replication. Empty on success.
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
  if (RunReplications(count, simulation.threads, body, simulation.progress) == 0)
    return kOutOfMemory;
  return {};
}

}  // namespace

std::vector<DimensionSlope> IxoValues(std::span<const double> series, const IxoSettings& settings,
                                      int threads, PairCountWorkspace* workspace) {
  const double fractions[] = {settings.eps_low, settings.eps_high};
  if (!CheckGrid(series, fractions).empty()) return {};
  const Statistics stats = Describe(series);
  SlopeInput input{series,
                   DistanceGrid(settings.eps_low, settings.eps_high, stats.sd, settings.subint),
                   stats.spread, settings.cm_limit};
  input.threads = threads;
  input.workspace = workspace;
  return IxoSlopes(input, 2, settings.max_dimension);
}

IxoPermutationTest PermutationTestIxo(std::span<const double> series, const IxoSettings& settings,
                                      const Simulation& simulation) {
  IxoPermutationTest test;
  const double fractions[] = {settings.eps_low, settings.eps_high};
  test.error = CheckIxoSettings(settings, series.size());
  if (test.error.empty()) test.error = CheckGrid(series, fractions);
  if (!test.error.empty()) return test;
  const Statistics stats = Describe(series);
  SlopeInput input{series,
                   DistanceGrid(settings.eps_low, settings.eps_high, stats.sd, settings.subint),
                   stats.spread, settings.cm_limit};
  input.threads = simulation.threads;
  try {
    test.observed = IxoSlopes(input, 2, settings.max_dimension);
  } catch (const std::bad_alloc&) {
    test.error = kOutOfMemory;
    return test;
  }
  if (simulation.replications <= 0) return test;

  const int columns = settings.max_dimension - 1;
  std::vector<double> table;
  // Every permuted copy is counted on the series' own grid and spread: its sd
  // and spread are the series' (a sum in another order would only differ in
  // the last bits), so equal counts give equal statistics, the ties that
  // count in both tails.
  test.error =
      Permute(series, simulation, columns, table,
              [&](auto copy, double* row, PairCountWorkspace& workspace) {
                SlopeInput permuted = input;
                permuted.series = copy;
                permuted.threads = 1;
                permuted.workspace = &workspace;
                for (const DimensionSlope& d : IxoSlopes(permuted, 2, settings.max_dimension))
                  row[d.dimension - 2] = HasIxoValue(d) ? d.slope : kNaN;
              });
  if (!test.error.empty()) return test;
  // A statistic without a value has no p-value; a copy without one is left
  // out (given that the statistic exists, the copies that have it are as
  // likely as the series to take any rank among them).
  for (int column = 0; column < columns; ++column) {
    test.null_distribution.push_back(Column(table, columns, column));
    std::vector<double> defined;
    for (double t : test.null_distribution.back())
      if (!std::isnan(t)) defined.push_back(t);
    const DimensionSlope& d = test.observed[column];
    test.p_values.push_back(HasIxoValue(d) && !defined.empty()
                                ? std::optional<double>(MonteCarloPValue(d.slope, defined))
                                : std::nullopt);
  }
  return test;
}

BdsPermutationTest PermutationTestBds(std::span<const double> series, int max_dimension,
                                      std::span<const double> eps_fractions,
                                      const Simulation& simulation) {
  BdsPermutationTest test;
  IxoSettings dimensions;
  dimensions.max_dimension = max_dimension;
  test.error = CheckIxoSettings(dimensions, series.size());
  if (test.error.empty() && eps_fractions.empty()) test.error = "no distance given";
  if (test.error.empty()) test.error = CheckGrid(series, eps_fractions);
  if (!test.error.empty()) return test;

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
    test.error = kOutOfMemory;
    return test;
  }
  if (simulation.replications > 0) {
    test.error = Permute(series, simulation, columns, table, statistics);
    if (!test.error.empty()) return test;
  }
  for (int column = 0; column < columns; ++column) {
    BdsValue value;
    value.m = 2 + column / distances;
    value.eps = eps_fractions[column % distances];
    if (!std::isnan(observed[column])) {
      value.bds = observed[column];
      if (BdsNormalLawHolds(series.size(), value.m, value.eps))
        value.p_normal = std::erfc(std::fabs(observed[column]) / std::sqrt(2.0));
      if (simulation.replications > 0)
        value.p_permutation = MonteCarloPValue(observed[column], Column(table, columns, column));
    }
    test.values.push_back(value);
  }
  return test;
}

}  // namespace ixo

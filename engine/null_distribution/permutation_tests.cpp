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
#include "sequential_draws.h"
#include "sequential_p_value.h"
#include "statistics.h"
#include "step_down_min_p.h"

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
// for the replications the sequential rule needs against `observed` (all R
// without it), with the pair-count workspace of the worker's thread; the
// table has observed.size() values per replication and keeps the rows drawn.
// The number drawn, or the reason there is none.
template <typename Replicate>
std::string Permute(std::span<const double> series, const Simulation& simulation,
                    std::span<const double> observed, std::vector<double>& table, int& drawn,
                    const Replicate& replicate) {
  const int count = simulation.replications;
  const std::size_t columns = observed.size();
  const int workers = WorkerCount(count, simulation.threads);
  std::vector<std::vector<double>> copies(workers);
  std::vector<PairCountWorkspace> workspaces(workers);
  const auto rows = [&](int first, int last) {
    const auto body = [&](int worker, int i) {
      const int r = first + i;
      std::vector<double>& copy = copies[worker];
      copy.assign(series.begin(), series.end());
      RandomStream stream(simulation.seed, static_cast<std::uint64_t>(r));
      Shuffle(copy, stream);
      replicate(std::span<const double>(copy), table.data() + static_cast<std::size_t>(r) * columns,
                workspaces[worker]);
    };
    ProgressCallback progress;
    if (simulation.progress)
      progress = [&](int done, int) { simulation.progress(first + done, count); };
    return RunReplications(last - first, simulation.threads, body, progress) != 0;
  };
  const SequentialDraws draws =
      DrawSequentially(observed, count, simulation.sequential, table, rows);
  if (draws.failed) return kOutOfMemory;
  drawn = draws.drawn;
  if (drawn < count && simulation.progress) simulation.progress(count, count);
  return {};
}

// The p-value of every column under the sequential rule (the fixed-R one
// without it), and the adjusted p-values over the columns, never below those.
struct ColumnPValues {
  std::vector<std::optional<double>> raw;       // none where the observed value is NaN
  std::vector<std::optional<double>> adjusted;  // likewise
  std::optional<double> overall;
};

ColumnPValues PValuesOf(std::span<const double> observed, const std::vector<double>& table,
                        const Simulation& simulation) {
  const int columns = static_cast<int>(observed.size());
  ColumnPValues p;
  p.raw.resize(columns);
  for (int column = 0; column < columns; ++column) {
    if (std::isnan(observed[column])) continue;
    p.raw[column] = SequentialPValue(observed[column], Column(table, columns, column),
                                     simulation.sequential, simulation.replications);
  }
  FamilyPValues family = StepDownMinP(observed, table);
  p.adjusted = std::move(family.adjusted);
  for (int column = 0; column < columns; ++column) {
    if (!p.adjusted[column] || !p.raw[column]) continue;
    p.adjusted[column] = std::max(*p.adjusted[column], *p.raw[column]);
    p.overall = std::min(p.overall.value_or(1.0), *p.adjusted[column]);
  }
  return p;
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
  try {
    test.observed = IxoValues(series, settings, simulation.threads);
  } catch (const std::bad_alloc&) {
    test.error = kOutOfMemory;
    return test;
  }
  if (simulation.replications <= 0) return test;

  std::vector<double> observed;
  for (const DimensionSlope& d : test.observed) observed.push_back(d.slope);
  std::vector<double> table;
  // A permuted copy's sd may differ from the series' in the last bits, as the
  // engine would find; a copy without a grid leaves its row NaN.
  test.error = Permute(series, simulation, observed, table, test.drawn,
                       [&](auto copy, double* row, PairCountWorkspace& workspace) {
                         for (const DimensionSlope& d : IxoValues(copy, settings, 1, &workspace))
                           row[d.dimension - 2] = d.slope;
                       });
  if (!test.error.empty()) return test;
  if (std::any_of(table.begin(), table.end(), [](double v) { return std::isnan(v); })) {
    test.error = "a permuted copy admits no distance grid: " +
                 std::string("the values are too large for their mean and sd to be computed");
    return test;
  }
  const ColumnPValues p = PValuesOf(observed, table, simulation);
  for (std::size_t i = 0; i < observed.size(); ++i) {
    test.p_values.push_back(p.raw[i].value_or(kNaN));
    test.p_adjusted.push_back(p.adjusted[i].value_or(kNaN));
  }
  test.p_overall = p.overall;
  test.replicated = std::move(table);
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
  ColumnPValues p;
  if (simulation.replications > 0) {
    test.error = Permute(series, simulation, observed, table, test.drawn, statistics);
    if (!test.error.empty()) return test;
    p = PValuesOf(observed, table, simulation);
  }
  for (int column = 0; column < columns; ++column) {
    BdsValue value;
    value.m = 2 + column / distances;
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
  return test;
}

}  // namespace ixo

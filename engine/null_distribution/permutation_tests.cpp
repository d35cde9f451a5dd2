#include "permutation_tests.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "bds_statistics.h"
#include "grid.h"
#include "pair_counts.h"
#include "permutation_draws.h"
#include "statistics.h"

namespace ixo {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

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
  test.error = Permute<PairCountWorkspace>(
      series, simulation, observed, table, test.drawn,
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

  const int distances = static_cast<int>(eps_fractions.size());
  const int columns = (max_dimension - 1) * distances;
  std::vector<double> observed(columns);
  std::vector<double> table;
  std::optional<BdsStatistics> statistics;
  try {
    statistics.emplace(series, max_dimension, eps_fractions);
    PairCountWorkspace workspace;
    statistics->Fill(series, observed.data(), workspace);
  } catch (const std::bad_alloc&) {
    test.error = kOutOfMemory;
    return test;
  }
  ColumnPValues p;
  if (simulation.replications > 0) {
    test.error =
        Permute<PairCountWorkspace>(series, simulation, observed, table, test.drawn,
                                    [&](auto copy, double* row, PairCountWorkspace& workspace) {
                                      statistics->Fill(copy, row, workspace);
                                    });
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

#include "joint_test.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "bds_statistics.h"
#include "pair_counts.h"
#include "permutation_draws.h"
#include "permutation_tests.h"

namespace ixo {
namespace {

// Dimension j's log-log curve as CurvePoints makes it (ixo_slopes.h), from
// counts whose first grid points are those of `input`.
DimensionPoints IxoCurveFromCounts(const SlopeInput& input, const PairCounts& counts, int n,
                                   int j) {
  DimensionPoints curve{j, {}};
  for (int k = 0; k <= input.grid.subint(); ++k) {
    CurvePoint point;
    point.k = k;
    point.eps = input.grid.Point(k);
    point.x = std::log(point.eps / input.spread);
    point.pairs = ClosePairs(n, j, CorrelationIntegralFromCount(counts.At(j, k), n, j));
    point.y = std::log(point.pairs);
    point.used = !(input.cm_limit >= point.pairs);
    curve.points.push_back(point);
  }
  return curve;
}

std::string EpsText(double eps) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", eps);
  return text;
}

Result<JointPermutationTest> JointTestOf(std::span<const double> series,
                                         const IxoSettings& settings,
                                         std::span<const double> bds_eps,
                                         const Simulation& simulation) {
  const double fractions[] = {settings.eps_low, settings.eps_high};
  std::string error = CheckIxoSettings(settings, series.size());
  if (error.empty() && bds_eps.empty()) error = "no BDS distance given";
  if (error.empty()) error = CheckGrid(series, fractions);
  if (error.empty()) error = CheckGrid(series, bds_eps);
  if (error.empty() && simulation.replications < 1) error = "no permutation asked for";
  if (!error.empty()) return Failure<JointPermutationTest>(std::move(error));

  Result<SlopeInput> input = SlopeInputFor(series, settings);
  if (!input.ok()) return Failure<JointPermutationTest>(std::move(input.error));
  input.value->threads = simulation.threads;
  input.value->pair_count_path = simulation.pair_count_path;
  const int dimensions = settings.max_dimension - 1;
  std::vector<double> observed;
  for (const DimensionSlope& d : IxoSlopes(*input.value, 2, settings.max_dimension))
    observed.push_back(HasIxoValue(d) ? d.slope : std::numeric_limits<double>::quiet_NaN());
  const BdsStatistics bds(series, settings.max_dimension, bds_eps);
  observed.resize(dimensions + bds.size());
  PairCountWorkspace workspace(simulation.pair_count_path);
  bds.Fill(series, observed.data() + dimensions, workspace);

  // One count per copy over the Ixo grid and the BDS distances together: the
  // counts are exact whatever the grid holds, so each family's statistics are
  // those of its own test, at little more than the Ixo test's cost.
  const DistanceGrid& ixo_grid = input.value->grid;
  std::vector<double> grid;
  for (int k = 0; k < ixo_grid.size(); ++k) grid.push_back(ixo_grid.Point(k));
  grid.insert(grid.end(), bds.distances().begin(), bds.distances().end());
  const int n = static_cast<int>(series.size());
  std::vector<double> table;
  const Result<int> drawn = Permute(
      series, simulation, observed, table,
      [&](std::span<const double> copy, std::span<double> row, PairCountWorkspace& copy_workspace,
          int) {
        const PairCounts& counts =
            copy_workspace.Count(copy, grid, settings.max_dimension, Dimensions::kAboveOne);
        for (int j = 2; j <= settings.max_dimension; ++j) {
          const DimensionSlope d = FitDimension(IxoCurveFromCounts(*input.value, counts, n, j));
          row[j - 2] = HasIxoValue(d) ? d.slope : std::numeric_limits<double>::quiet_NaN();
        }
        bds.FillFromCounts(counts, ixo_grid.size(), row.data() + dimensions);
      });
  if (!drawn.ok()) return Failure<JointPermutationTest>(drawn.error);

  JointPermutationTest test;
  const ColumnPValues p = PValuesOf(observed, table, simulation);
  const int distances = static_cast<int>(bds_eps.size());
  for (std::size_t j = 0; j < observed.size(); ++j) {
    JointMember member;
    const int i = static_cast<int>(j);
    member.name = i < dimensions ? "ixo m=" + std::to_string(i + 2)
                                 : "bds m=" + std::to_string(2 + (i - dimensions) / distances) +
                                       " eps=" + EpsText(bds_eps[(i - dimensions) % distances]);
    member.value = observed[j];
    member.p_value = p.raw[j];
    member.p_adjusted = p.adjusted[j];
    if (member.p_value &&
        (test.smallest < 0 || *member.p_value < *test.members[test.smallest].p_value))
      test.smallest = i;
    test.members.push_back(std::move(member));
  }
  test.p_overall = p.overall;
  test.drawn = *drawn.value;
  for (std::size_t j = 0; j < observed.size(); ++j) {
    std::vector<double>& column = test.null_distribution.emplace_back();
    for (std::size_t r = 0; r * observed.size() < table.size(); ++r)
      column.push_back(table[r * observed.size() + j]);
  }
  return {std::move(test), {}};
}

}  // namespace

Result<JointPermutationTest> PermutationTestJoint(std::span<const double> series,
                                                  const IxoSettings& settings,
                                                  std::span<const double> bds_eps,
                                                  const Simulation& simulation) {
  return OutOfMemoryAsFailure<JointPermutationTest>(
      [&] { return JointTestOf(series, settings, bds_eps, simulation); });
}

}  // namespace ixo

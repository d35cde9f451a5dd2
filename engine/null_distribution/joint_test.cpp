#include "joint_test.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "bds_statistics.h"
#include "pair_counts.h"
#include "permutation_draws.h"
#include "permutation_tests.h"
#include "replication_pool.h"

namespace ixo {
namespace {

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

  // Each family counts its own grid, so the BDS counts keep a workspace of
  // their own per worker and the tables of both grids stay built.
  std::vector<PairCountWorkspace> bds_workspaces;
  for (int w = WorkerCount(simulation.replications, simulation.threads); w > 0; --w)
    bds_workspaces.emplace_back(simulation.pair_count_path);
  std::vector<double> table;
  const Result<int> drawn =
      Permute(series, simulation, observed, table,
              [&](std::span<const double> copy, std::span<double> row,
                  PairCountWorkspace& ixo_workspace, int worker) {
                FillIxoRow(*input.value, settings.max_dimension, copy, row, ixo_workspace);
                bds.Fill(copy, row.data() + dimensions, bds_workspaces[worker]);
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

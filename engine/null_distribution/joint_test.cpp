#include "joint_test.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "bds_statistics.h"
#include "grid.h"
#include "pair_counts.h"
#include "permutation_draws.h"
#include "permutation_tests.h"

namespace ixo {
namespace {

// Each family counts its own grid, so each keeps its own workspace and its
// tables stay built from one permuted copy to the next.
struct TwoWorkspaces {
  PairCountWorkspace ixo;
  PairCountWorkspace bds;
};

std::string EpsText(double eps) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", eps);
  return text;
}

}  // namespace

JointPermutationTest PermutationTestJoint(std::span<const double> series,
                                          const IxoSettings& settings,
                                          std::span<const double> bds_eps,
                                          const Simulation& simulation) {
  JointPermutationTest test;
  const double fractions[] = {settings.eps_low, settings.eps_high};
  test.error = CheckIxoSettings(settings, series.size());
  if (test.error.empty() && bds_eps.empty()) test.error = "no BDS distance given";
  if (test.error.empty()) test.error = CheckGrid(series, fractions);
  if (test.error.empty()) test.error = CheckGrid(series, bds_eps);
  if (test.error.empty() && simulation.replications < 1) test.error = "no permutation asked for";
  if (!test.error.empty()) return test;

  const int dimensions = settings.max_dimension - 1;
  std::vector<double> observed;
  std::optional<BdsStatistics> bds;
  try {
    for (const DimensionSlope& d : IxoValues(series, settings, simulation.threads))
      observed.push_back(d.slope);
    bds.emplace(series, settings.max_dimension, bds_eps);
    observed.resize(dimensions + bds->size());
    PairCountWorkspace workspace;
    bds->Fill(series, observed.data() + dimensions, workspace);
  } catch (const std::bad_alloc&) {
    test.error = kOutOfMemory;
    return test;
  }

  std::vector<double> table;
  test.error = Permute<TwoWorkspaces>(
      series, simulation, observed, table, test.drawn,
      [&](auto copy, double* row, TwoWorkspaces& workspaces) {
        for (const DimensionSlope& d : IxoValues(copy, settings, 1, &workspaces.ixo))
          row[d.dimension - 2] = d.slope;
        bds->Fill(copy, row + dimensions, workspaces.bds);
      });
  if (!test.error.empty()) return test;
  for (std::size_t r = 0; r * observed.size() < table.size(); ++r) {
    for (int j = 0; j < dimensions; ++j) {
      if (std::isnan(table[r * observed.size() + j])) {
        test.error =
            "a permuted copy admits no distance grid: the values are too large for "
            "their mean and sd to be computed";
        return test;
      }
    }
  }

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
  test.replicated = std::move(table);
  return test;
}

}  // namespace ixo

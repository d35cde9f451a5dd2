// One exact test of the i.i.d. hypothesis against any kind of dependence the
// Ixo values or the BDS statistics see: both families computed on the same
// permuted copies, and one overall p-value over both (the min-p over every
// statistic, calibrated by the same permutations), so a user who does not know
// which kind of dependence to expect gets the power of the better of the two
// without paying for two tests.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ixo_settings.h"
#include "result.h"
#include "simulation_settings.h"

namespace ixo {

struct JointMember {
  std::string name;                  // "ixo m=3" or "bds m=2 eps=0.5"
  double value = 0;                  // the statistic of the series; NaN where it has none
  std::optional<double> p_value;     // two-sided permutation p-value; none without a value
  std::optional<double> p_adjusted;  // adjusted over both families
};

struct JointPermutationTest {
  // The Ixo values of m = 2 .. max_dimension, then the BDS statistics of
  // every m = 2 .. max_dimension with every distance in the given order.
  std::vector<JointMember> members;
  std::optional<double> p_overall;  // the smallest adjusted p-value
  int smallest = -1;                // the member with the smallest p-value (the first of ties)
  int drawn = 0;                    // permutations drawn: R, or fewer where the rule stopped
  // Per member, the statistic of each permuted copy drawn, in replication
  // order (NaN where a copy has none).
  std::vector<std::vector<double>> null_distribution;
};

// The Ixo test of PermutationTestIxo(series, settings) and the BDS test of
// PermutationTestBds(series, settings.max_dimension, bds_eps) on the same R
// permutations (every value and raw p-value theirs bit for bit, with the same
// seed), the adjusted p-values over both families and the overall one. Fails
// where either test fails (kOutOfMemory, kInterrupted included), or when R < 1.
[[nodiscard]] Result<JointPermutationTest> PermutationTestJoint(std::span<const double> series,
                                                                const IxoSettings& settings,
                                                                std::span<const double> bds_eps,
                                                                const Simulation& simulation);

}  // namespace ixo

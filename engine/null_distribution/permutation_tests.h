// Exact tests of the i.i.d. hypothesis at any sample size and for any marginal
// law: under it every ordering of a series is equally likely, so the statistic
// of the series is held against the statistics of R random permutations of it.
// Permutation r is the Fisher-Yates shuffle of the series by the stream of
// (seed, r); the results are the same for any thread count.
//
// Every permutation yields the whole family of statistics (every dimension,
// every distance), so the tests also give each p-value adjusted for the family
// (step-down min-p, step_down_min_p.h) and one overall p-value, from the same
// permutations. With Simulation::sequential = h >= 1 the permutations are drawn
// under the sequential rule (sequential_p_value.h): they stop once every
// statistic's p-value is certainly above 10 %. The adjusted and overall
// p-values then come from the replications drawn for all statistics, and are
// never below the statistic's own p-value: where the rule stopped early every
// one of them is above 10 %, and where it ran to R they are the fixed-R ones
// (or larger), so at every level up to 10 % the family's verdicts are never
// more often a rejection than with all R permutations.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "ixo_settings.h"
#include "ixo_slopes.h"
#include "result.h"
#include "simulation_settings.h"

namespace ixo {

// The Ixo values of dimensions 2 .. max_dimension of `series` as the engine
// computes them (Describe, DistanceGrid, IxoSlopes over the pair counts), the
// counts on `threads` threads along `path`, or with `workspace` on the calling
// thread when one is given (a replication loop keeps one per thread).
// Requires CheckIxoSettings to pass; none when CheckGrid refuses the series.
std::vector<DimensionSlope> IxoValues(std::span<const double> series, const IxoSettings& settings,
                                      int threads, PairCountWorkspace* workspace = nullptr,
                                      PairCountPath path = PairCountPath::kAuto);

struct IxoPermutationTest {
  std::vector<DimensionSlope> observed;  // dimensions 2 .. max_dimension
  // One per dimension, empty when R = 0; none where the series has no Ixo
  // value (HasIxoValue) or no permuted copy has one. Copies without a value
  // are left out: p is then taken among the R' copies that have one.
  std::vector<std::optional<double>> p_values;
  // Per dimension, adjusted over the dimensions (step-down min-p over every
  // copy drawn, a copy without a value the least extreme there); none where
  // p_values has none.
  std::vector<std::optional<double>> p_adjusted;
  std::optional<double> p_overall;  // the smallest adjusted p-value; none when R = 0
  int drawn = 0;                    // copies drawn: R, or fewer where the sequential rule stopped
  // Per dimension, the statistic of each permuted copy drawn in replication
  // order, NaN for a copy without an Ixo value; empty when R = 0.
  std::vector<std::vector<double>> null_distribution;
};

// The Ixo values of `series` and their two-sided Monte Carlo p-values against
// R permutations, one copy per thread. Every copy is counted on the series'
// own description (sd, spread and so the distance grid: mathematically the
// copy's own, and free of the last-bit noise of summing in another order), so
// copies with equal counts have equal statistics. Fails on settings or a
// series that CheckIxoSettings or CheckGrid refuses, when memory runs out, or
// with kInterrupted when the simulation's stop request answers true.
[[nodiscard]] Result<IxoPermutationTest> PermutationTestIxo(std::span<const double> series,
                                                            const IxoSettings& settings,
                                                            const Simulation& simulation);

struct BdsValue {
  int m = 0;
  double eps = 0;                       // the distance as a fraction of the sd
  std::optional<double> bds;            // none when the BDS variance is not positive
  std::optional<double> p_normal;       // two-sided, from the standard normal law; none
                                        // also where that law misleads (BdsNormalLawHolds)
  std::optional<double> p_permutation;  // none as well when R = 0; holds for any n, m, eps
  std::optional<double> p_adjusted;     // p_permutation adjusted over every m and eps
};

struct BdsPermutationTest {
  std::vector<BdsValue> values;  // m = 2 .. max_dimension, each with every eps in the given order
  std::optional<double> p_overall;  // the smallest adjusted p-value; none when there is none
  int drawn = 0;                    // copies drawn: R, or fewer where the sequential rule stopped
  // Per value, in the order of `values`, the statistic of each permuted copy
  // drawn in replication order (NaN where the variance is not positive);
  // empty when R = 0.
  std::vector<std::vector<double>> null_distribution;
};

// The BDS statistic sqrt(n - m + 1) * bds_ratio(C_1, C_m, K, c, m) of `series`
// at distance eps * sd (sd of the series as given, the distance fixed for
// every permutation), its two-sided normal p-value erfc(|BDS| / sqrt 2) where
// BdsNormalLawHolds(n, m, eps), and its Monte Carlo p-value against R
// permutations. C_m comes from the pair counts,
// C_1, K and c from SumCloseValues: the kernel's numbers bit for bit, without
// its tables. Requires 2 <= max_dimension <= 16, max_dimension <= n - 1 and at
// least one eps; fails, as a value, on a series CheckGrid refuses, when memory
// runs out, or with kInterrupted when the simulation's stop request answers true.
[[nodiscard]] Result<BdsPermutationTest> PermutationTestBds(std::span<const double> series,
                                                            int max_dimension,
                                                            std::span<const double> eps_fractions,
                                                            const Simulation& simulation);

}  // namespace ixo

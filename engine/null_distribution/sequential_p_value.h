// A permutation p-value that stops drawing permutations once it is certainly
// above 10 %, the largest level a verdict is given at, and goes on to all R
// where it is not.
//
// The rule (Besag and Clifford's sequential Monte Carlo p-value, two tails at
// once and cut off at a limit): the replications are read in their index
// order; with a tail count h >= 1, stop after the first L <= limit
// replications of which at least h lie at or below the observed value and at
// least h at or above it, and give p = min(1, 2h / L). Where no such L exists
// the replications run to R and p is MonteCarloPValue's over all R, the
// fixed-R p-value bit for bit. The limit is min(R - 1, 20h - 1), so a stopped
// p-value, 2h / L >= 2h / (20h - 1), is always above 0.10, and every p-value
// below it comes from all R replications.
//
// Validity: under the i.i.d. hypothesis the observed value and the replicated
// ones are exchangeable, so the chance that fewer than h of the first L - 1
// lie at or above the observed value is at most h / L (at most, with ties),
// and the same below; the rule runs past L - 1 with at most that chance
// 2h / L. Hence P(p <= a) <= a at every level a (below 2h / limit the
// p-values are the fixed-R ones). The stopping point is decided on a fixed
// prefix of the replications, so it does not depend on the threads or on the
// order they finish in.
#pragma once

#include <optional>
#include <span>

namespace ixo {

// The replications after which the rule with tail count h may stop when R
// are allowed: min(R - 1, 20h - 1); 0 when h <= 0 (the rule is off).
int SequentialLimit(int tail_count, int replications);

// The number L of the first replications (in index order) after which the
// rule stops: the first L <= limit with at least h of replicated[0 .. L) at or
// below `observed` and at least h at or above it (a NaN counts on neither
// side); none where the given replications hold no such L.
std::optional<int> SequentialStop(double observed, std::span<const double> replicated,
                                  int tail_count, int limit);

// The rule's p-value for R = `replications`: min(1, 2h / L) where it stops
// after L, else MonteCarloPValue(observed, replicated), which then requires
// all R replications. h <= 0 gives the fixed-R p-value.
double SequentialPValue(double observed, std::span<const double> replicated, int tail_count,
                        int replications);

}  // namespace ixo

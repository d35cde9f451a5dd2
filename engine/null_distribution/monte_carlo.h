// What a simulation's replications say about one value: its two-sided Monte
// Carlo p-value, and the percentiles of the replicated values.
#pragma once

#include <span>

namespace ixo {

// p = min(1, 2 min((1 + #{T* <= T}) / (R + 1), (1 + #{T* >= T}) / (R + 1))) for
// the observed value T and the R = replicated.size() values T*, compared as
// doubles at full precision. Requires R >= 1; a NaN among them counts on
// neither side.
double MonteCarloPValue(double observed, std::span<const double> replicated);

// The replicated values at or below and at or above the observed one (a tie
// counts on both sides, a NaN on neither): all a range of replications
// contributes to MonteCarloPValue, so that the counts of ranges add up.
struct TailCounts {
  long long at_most = 0;
  long long at_least = 0;
  long long counted = 0;  // the replicated values that are numbers
};
TailCounts CountTails(double observed, std::span<const double> replicated);

// MonteCarloPValue from the tail counts of all R >= 1 replications, bit for bit
// (R the number of replicated values, NaN included as MonteCarloPValue counts it).
double PValueFromTails(const TailCounts& tails, long long replications);

// The p-th percentile (0 <= p <= 100) of `sorted` (ascending, at least one
// value) by linear interpolation between order statistics: with
// h = (R - 1) p / 100, the value sorted[floor h] + (h - floor h) (sorted[floor h
// + 1] - sorted[floor h]); the 0th is the minimum, the 100th the maximum.
double Percentile(std::span<const double> sorted, double p);

}  // namespace ixo

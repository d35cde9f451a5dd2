// P-values of a family of statistics computed from the same permutations (the
// Ixo values of every dimension, the BDS statistics of every dimension and
// distance): each member's p-value adjusted for the family by Westfall and
// Young's step-down min-p, and one overall p-value of the whole family.
//
// The observed statistics and the R permuted ones form R + 1 rows of the same
// family; under the i.i.d. hypothesis the rows are exchangeable. Every value
// gets the two-sided p-value of MonteCarloPValue against its column of all
// R + 1 rows (itself and the observed value included, so the observed row's
// p-values are MonteCarloPValue's exactly). Of two values with the same
// p-value (within a column or across columns) the one further from its
// column's mean, in its column's standard deviations (both over the R + 1
// rows), is the more extreme: without that, every row that is beyond all
// others in a single member would tie with a series beyond all others in
// every member, and a family of K members could not give an overall p-value
// below about 2K / (R + 1).
//
// With the members ordered by their observed values' extremity, the most
// extreme first ((1), ..., (K)), the adjusted p-value of the i-th is
//   max over l <= i of max(p_(l), #{rows whose most extreme value among
//       members (l) .. (K) is at least as extreme as the observed one of
//       member (l)} / (R + 1)),
// the observed row counting itself (the +1 in numerator and denominator), so
// that no adjusted value is below its own p-value. The overall p-value is the
// first of them: the share of rows whose most extreme value is at least as
// extreme as the series' most extreme one. Both control the family-wise error
// exactly (every rule of extremity that treats the rows alike does):
// rejecting every member whose adjusted p-value is <= a rejects a true
// hypothesis with probability at most a. Exact ties count against the
// observed row.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ixo {

struct FamilyPValues {
  // One per member, in the order given; none for a member whose observed
  // value is NaN (it stays out of the family).
  std::vector<std::optional<double>> adjusted;
  std::optional<double> overall;  // none when no member has a value or R = 0
};

// The step-down min-p adjusted p-values of the K = observed.size() members and
// the overall p-value, from `replicated`: R rows of K values, row after row
// (row r is permutation r). A NaN among the permuted values has p-value 1 in
// its row, is the least extreme and counts on neither side of the others, as
// in MonteCarloPValue.
// Requires replicated.size() to be a multiple of K (R = 0 gives no values).
FamilyPValues StepDownMinP(std::span<const double> observed, std::span<const double> replicated);

}  // namespace ixo

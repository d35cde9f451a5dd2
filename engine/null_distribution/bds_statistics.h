// The BDS statistics of every dimension and distance of one ordering of a
// series, at distances fixed from the series as given, as the BDS permutation
// test and the joint test compute them for each permuted copy.
#pragma once

#include <span>
#include <vector>

#include "close_value_sums.h"

namespace ixo {

class PairCounts;
class PairCountWorkspace;

class BdsStatistics {
 public:
  // The distances eps * sd of `series` and their sums of close values, which
  // every ordering shares. Requires CheckGrid(series, eps_fractions) to pass
  // and 2 <= max_dimension <= min(16, n - 1); may throw std::bad_alloc.
  BdsStatistics(std::span<const double> series, int max_dimension,
                std::span<const double> eps_fractions);

  // (max_dimension - 1) * distances: statistics per ordering.
  int size() const { return (max_dimension_ - 1) * static_cast<int>(grid_.size()); }

  // Writes the statistic sqrt(n - m + 1) * bds_ratio(C_1, C_m, K, c, m) of
  // every m = 2 .. max_dimension and distance k to row[(m - 2) * distances +
  // k], NaN where the BDS variance is not positive; C_m from the pair counts
  // of `ordering` (a permutation of the series) in `workspace`.
  void Fill(std::span<const double> ordering, double* row, PairCountWorkspace& workspace) const;

  // Fill from `counts` of the ordering already made over a grid whose points
  // first .. first + distances - 1 are distances() (dimensions 2 ..
  // max_dimension counted): the same statistics.
  void FillFromCounts(const PairCounts& counts, int first, double* row) const;

  // The distances eps * sd, in the order given.
  std::span<const double> distances() const { return grid_; }

 private:
  int n_;
  int max_dimension_;
  std::vector<double> grid_;
  std::vector<CloseValueSums> sums_;
};

}  // namespace ixo

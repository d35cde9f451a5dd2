#include "bds_statistics.h"

#include <cmath>
#include <limits>

#include "bds.h"
#include "pair_counts.h"
#include "statistics.h"

namespace ixo {

BdsStatistics::BdsStatistics(std::span<const double> series, int max_dimension,
                             std::span<const double> eps_fractions)
    : n_(static_cast<int>(series.size())), max_dimension_(max_dimension) {
  const double sd = Describe(series).sd;
  for (double fraction : eps_fractions) {
    grid_.push_back(fraction * sd);
    sums_.push_back(SumCloseValues(series, grid_.back()));
  }
}

void BdsStatistics::Fill(std::span<const double> ordering, double* row,
                         PairCountWorkspace& workspace) const {
  FillFromCounts(workspace.Count(ordering, grid_, max_dimension_, Dimensions::kAboveOne), 0, row);
}

void BdsStatistics::FillFromCounts(const PairCounts& counts, int first, double* row) const {
  const int distances = static_cast<int>(grid_.size());
  for (int m = 2; m <= max_dimension_; ++m) {
    for (int k = 0; k < distances; ++k) {
      const CloseValueSums& s = sums_[k];
      double bds = std::numeric_limits<double>::quiet_NaN();
      if (BdsVariance(s.K, s.c, m) > 0) {
        const double c_m = CorrelationIntegralFromCount(counts.At(m, first + k), n_, m);
        bds = std::sqrt(static_cast<double>(n_ - m + 1)) * bds_ratio(s.c_1, c_m, s.K, s.c, m);
      }
      row[(m - 2) * distances + k] = bds;
    }
  }
}

}  // namespace ixo

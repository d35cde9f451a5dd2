#include "permutation_draws.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "monte_carlo.h"
#include "sequential_p_value.h"
#include "step_down_min_p.h"

namespace ixo {

void FillIxoRow(const SlopeInput& series_input, int max_dimension, std::span<const double> copy,
                std::span<double> row, PairCountWorkspace& workspace) {
  SlopeInput permuted = series_input;
  permuted.series = copy;
  permuted.threads = 1;
  permuted.workspace = &workspace;
  for (const DimensionSlope& d : IxoSlopes(permuted, 2, max_dimension))
    row[d.dimension - 2] = HasIxoValue(d) ? d.slope : std::numeric_limits<double>::quiet_NaN();
}

ColumnPValues PValuesOf(std::span<const double> observed, const std::vector<double>& table,
                        const Simulation& simulation) {
  const std::size_t columns = observed.size();
  ColumnPValues p;
  p.raw.resize(columns);
  const int limit = SequentialLimit(simulation.sequential, simulation.replications);
  std::vector<double> column;
  std::vector<double> defined;
  for (std::size_t j = 0; j < columns; ++j) {
    if (std::isnan(observed[j])) continue;
    column.clear();
    defined.clear();
    for (std::size_t r = 0; r * columns < table.size(); ++r) {
      column.push_back(table[r * columns + j]);
      if (!std::isnan(column.back())) defined.push_back(column.back());
    }
    if (defined.empty()) continue;
    // A copy without a value is left out: given that the statistic exists,
    // the copies that have it are as likely as the series to take any rank.
    const std::optional<int> stop =
        SequentialStop(observed[j], column, simulation.sequential, limit);
    p.raw[j] = stop ? std::min(1.0, 2.0 * simulation.sequential / *stop)
                    : MonteCarloPValue(observed[j], defined);
  }
  FamilyPValues family = StepDownMinP(observed, table);
  p.adjusted = std::move(family.adjusted);
  for (std::size_t j = 0; j < columns; ++j) {
    if (!p.raw[j]) {
      p.adjusted[j] = std::nullopt;
      continue;
    }
    p.adjusted[j] = std::max(p.adjusted[j].value_or(1.0), *p.raw[j]);
    p.overall = std::min(p.overall.value_or(1.0), *p.adjusted[j]);
  }
  return p;
}

}  // namespace ixo

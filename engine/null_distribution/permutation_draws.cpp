#include "permutation_draws.h"

#include <algorithm>
#include <cmath>

#include "sequential_p_value.h"
#include "step_down_min_p.h"

namespace ixo {

ColumnPValues PValuesOf(std::span<const double> observed, const std::vector<double>& table,
                        const Simulation& simulation) {
  const std::size_t columns = observed.size();
  ColumnPValues p;
  p.raw.resize(columns);
  std::vector<double> column;
  for (std::size_t j = 0; j < columns; ++j) {
    if (std::isnan(observed[j])) continue;
    column.clear();
    for (std::size_t r = 0; r * columns < table.size(); ++r)
      column.push_back(table[r * columns + j]);
    p.raw[j] =
        SequentialPValue(observed[j], column, simulation.sequential, simulation.replications);
  }
  FamilyPValues family = StepDownMinP(observed, table);
  p.adjusted = std::move(family.adjusted);
  for (std::size_t j = 0; j < columns; ++j) {
    if (!p.adjusted[j] || !p.raw[j]) continue;
    p.adjusted[j] = std::max(*p.adjusted[j], *p.raw[j]);
    p.overall = std::min(p.overall.value_or(1.0), *p.adjusted[j]);
  }
  return p;
}

}  // namespace ixo

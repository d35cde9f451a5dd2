#include "critical_simulation.h"

#include <algorithm>
#include <vector>

#include "monte_carlo.h"
#include "permutation_tests.h"
#include "replications.h"

namespace ixo {
namespace {

Result<SimulatedCriticalValues> Simulate(int n, const IxoSettings& settings,
                                         const Simulation& simulation) {
  std::string error = CheckIxoSettings(settings, n < 0 ? 0 : static_cast<std::size_t>(n));
  if (error.empty() && simulation.replications < 1) error = "at least one replication is needed";
  if (error.empty()) error = CheckRange(simulation);
  if (!error.empty()) return Failure<SimulatedCriticalValues>(std::move(error));

  Result<ReplicationTable> table =
      Replicate(simulation, settings.max_dimension - 1, [&](Replication& r) {
        r.series.resize(n);
        for (double& v : r.series) v = r.stream.Normal();
        for (const DimensionSlope& d : IxoValues(r.series, settings, 1, &r.workspace))
          r.row[d.dimension - 2] = d.slope;
      });
  if (!table.ok()) return Failure<SimulatedCriticalValues>(table.error);
  SimulatedCriticalValues result;
  result.columns = table.value->columns;
  result.replicated = std::move(table.value->values);
  if (WholeRange(simulation)) result.rows = CriticalRowsOf(result.replicated, result.columns);
  return {std::move(result), {}};
}

}  // namespace

Result<SimulatedCriticalValues> SimulateCriticalValues(int n, const IxoSettings& settings,
                                                       const Simulation& simulation) {
  return OutOfMemoryAsFailure<SimulatedCriticalValues>(
      [&] { return Simulate(n, settings, simulation); });
}

std::vector<CriticalRow> CriticalRowsOf(std::span<const double> table, int columns) {
  const std::size_t count = table.size() / static_cast<std::size_t>(columns);
  std::vector<CriticalRow> rows;
  std::vector<double> column(count);
  for (int j = 0; j < columns; ++j) {
    for (std::size_t r = 0; r < count; ++r) column[r] = table[r * columns + j];
    std::sort(column.begin(), column.end());
    CriticalRow row;
    row.m = j + 2;
    for (std::size_t i = 0; i < kCriticalPercentiles.size(); ++i)
      row.values[i] = Percentile(column, kCriticalPercentiles[i]);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace ixo

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
  if (!error.empty()) return Failure<SimulatedCriticalValues>(std::move(error));

  const Result<ReplicationTable> table =
      Replicate(simulation, settings.max_dimension - 1, [&](Replication& r) {
        r.series.resize(n);
        for (double& v : r.series) v = r.stream.Normal();
        for (const DimensionSlope& d : IxoValues(r.series, settings, 1, &r.workspace))
          r.row[d.dimension - 2] = d.slope;
      });
  if (!table.ok()) return Failure<SimulatedCriticalValues>(table.error);
  SimulatedCriticalValues result;
  for (int j = 0; j < table.value->columns; ++j) {
    std::vector<double> column = table.value->Column(j);
    std::sort(column.begin(), column.end());
    CriticalRow row;
    row.m = j + 2;
    for (std::size_t i = 0; i < kCriticalPercentiles.size(); ++i)
      row.values[i] = Percentile(column, kCriticalPercentiles[i]);
    result.rows.push_back(row);
  }
  return {std::move(result), {}};
}

}  // namespace

Result<SimulatedCriticalValues> SimulateCriticalValues(int n, const IxoSettings& settings,
                                                       const Simulation& simulation) {
  return OutOfMemoryAsFailure<SimulatedCriticalValues>(
      [&] { return Simulate(n, settings, simulation); });
}

}  // namespace ixo

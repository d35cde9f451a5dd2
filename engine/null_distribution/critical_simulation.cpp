#include "critical_simulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "monte_carlo.h"
#include "permutation_tests.h"
#include "replications.h"

namespace ixo {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

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
          r.row[d.dimension - 2] = HasIxoValue(d) ? d.slope : kNoValue;
      });
  if (!table.ok()) return Failure<SimulatedCriticalValues>(table.error);
  const int count = simulation.replications;
  SimulatedCriticalValues result;
  for (int j = 0; j < table.value->columns; ++j) {
    std::vector<double> column;
    for (double value : table.value->Column(j))
      if (!std::isnan(value)) column.push_back(value);
    CriticalRow row;
    row.m = j + 2;
    row.undefined = count - static_cast<int>(column.size());
    // Percentiles of the values that exist; where most series have none, the
    // few that do describe another statistic than the one a user compares.
    if (2 * static_cast<long long>(column.size()) < count) {
      return Failure<SimulatedCriticalValues>(
          "m = " + std::to_string(row.m) + ": only " + std::to_string(column.size()) + " of " +
          std::to_string(count) +
          " simulated series have an Ixo value (the others have fewer than two usable grid "
          "points or flat counts); lower --m or --cm-limit, or raise --n");
    }
    std::sort(column.begin(), column.end());
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

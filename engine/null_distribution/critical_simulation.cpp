#include "critical_simulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "monte_carlo.h"
#include "pair_counts.h"
#include "permutation_tests.h"
#include "random_stream.h"

namespace ixo {
namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

}  // namespace

Result<SimulatedCriticalValues> SimulateCriticalValues(int n, const IxoSettings& settings,
                                                       const Simulation& simulation) {
  std::string error = CheckIxoSettings(settings, n < 0 ? 0 : static_cast<std::size_t>(n));
  if (error.empty() && simulation.replications < 1) error = "at least one replication is needed";
  if (!error.empty()) return Failure<SimulatedCriticalValues>(std::move(error));

  const int count = simulation.replications;
  const int columns = settings.max_dimension - 1;
  std::vector<double> table;
  std::vector<std::vector<double>> series;
  std::vector<PairCountWorkspace> workspaces;
  try {
    table.assign(static_cast<std::size_t>(count) * columns, kNoValue);
    series.resize(WorkerCount(count, simulation.threads));
    workspaces.resize(series.size());
  } catch (const std::bad_alloc&) {
    return Failure<SimulatedCriticalValues>(kOutOfMemory);
  }
  const auto body = [&](int worker, int r) {
    std::vector<double>& x = series[worker];
    x.resize(n);
    RandomStream stream(simulation.seed, static_cast<std::uint64_t>(r));
    for (double& v : x) v = stream.Normal();
    double* row = table.data() + static_cast<std::size_t>(r) * columns;
    for (const DimensionSlope& d : IxoValues(x, settings, 1, &workspaces[worker]))
      row[d.dimension - 2] = HasIxoValue(d) ? d.slope : kNoValue;
  };
  const Result<int> run =
      RunReplications(count, simulation.threads, body, simulation.progress, simulation.stop);
  if (!run.ok()) return Failure<SimulatedCriticalValues>(run.error);
  SimulatedCriticalValues result;
  std::vector<double> column;
  for (int j = 0; j < columns; ++j) {
    column.clear();
    for (int r = 0; r < count; ++r) {
      const double value = table[static_cast<std::size_t>(r) * columns + j];
      if (!std::isnan(value)) column.push_back(value);
    }
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

}  // namespace ixo

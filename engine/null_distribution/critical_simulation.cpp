#include "critical_simulation.h"

#include <algorithm>
#include <vector>

#include "monte_carlo.h"
#include "pair_counts.h"
#include "permutation_tests.h"
#include "random_stream.h"

namespace ixo {

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
    table.resize(static_cast<std::size_t>(count) * columns);
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
      row[d.dimension - 2] = d.slope;
  };
  const Result<int> run =
      RunReplications(count, simulation.threads, body, simulation.progress, simulation.stop);
  if (!run.ok()) return Failure<SimulatedCriticalValues>(run.error);
  SimulatedCriticalValues result;
  std::vector<double> column(count);
  for (int j = 0; j < columns; ++j) {
    for (int r = 0; r < count; ++r) column[r] = table[static_cast<std::size_t>(r) * columns + j];
    std::sort(column.begin(), column.end());
    CriticalRow row;
    row.m = j + 2;
    for (std::size_t i = 0; i < kCriticalPercentiles.size(); ++i)
      row.values[i] = Percentile(column, kCriticalPercentiles[i]);
    result.rows.push_back(row);
  }
  return {std::move(result), {}};
}

}  // namespace ixo

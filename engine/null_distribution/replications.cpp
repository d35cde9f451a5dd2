#include "replications.h"

#include <cstdint>
#include <limits>
#include <new>

#include "replication_pool.h"

namespace ixo {

std::vector<double> ReplicationTable::Column(int column) const {
  std::vector<double> values_of_column(replications());
  for (std::size_t r = 0; r < values_of_column.size(); ++r)
    values_of_column[r] = values[r * columns + column];
  return values_of_column;
}

Result<ReplicationTable> Replicate(const Simulation& simulation, int columns,
                                   const std::function<void(Replication&)>& body) {
  const int count = simulation.replications < 0 ? 0 : simulation.replications;
  ReplicationTable table;
  table.columns = columns;
  std::vector<std::vector<double>> buffers;
  std::vector<PairCountWorkspace> workspaces;
  try {
    table.values.assign(static_cast<std::size_t>(count) * columns,
                        std::numeric_limits<double>::quiet_NaN());
    buffers.resize(WorkerCount(count, simulation.threads));
    for (std::size_t w = 0; w < buffers.size(); ++w)
      workspaces.emplace_back(simulation.pair_count_path);
  } catch (const std::bad_alloc&) {
    return Failure<ReplicationTable>(kOutOfMemory);
  }
  if (count == 0) return {std::move(table), {}};
  const auto run = [&](int worker, int r) {
    RandomStream stream(simulation.seed, static_cast<std::uint64_t>(r));
    Replication replication{
        r,
        stream,
        buffers[worker],
        workspaces[worker],
        std::span<double>(table.values).subspan(static_cast<std::size_t>(r) * columns, columns),
        worker};
    body(replication);
  };
  const Result<int> done =
      RunReplications(count, simulation.threads, run, simulation.progress, simulation.stop);
  if (!done.ok()) return Failure<ReplicationTable>(done.error);
  return {std::move(table), {}};
}

}  // namespace ixo

// The replications of a simulation with everything they share: a table of
// one row per replication, and per worker thread a series buffer and a
// pair-count workspace kept from one replication to the next; replication r
// draws from RandomStream(seed, r) alone, so the table does not depend on the
// thread count. Out of memory anywhere and a stop request end the run as
// values.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "pair_counts.h"
#include "random_stream.h"
#include "result.h"
#include "simulation_settings.h"

namespace ixo {

// What the body of one replication works with.
struct Replication {
  int index = 0;                  // r, 0 .. R - 1
  RandomStream& stream;           // RandomStream(seed, r), fresh
  std::vector<double>& series;    // the worker's buffer for the replicated series
  PairCountWorkspace& workspace;  // the worker's, on its own thread
  std::span<double> row;          // the replication's columns; NaN until written
  int worker = 0;                 // the worker running it, 0 .. WorkerCount(R, threads) - 1
};

// One row of `columns` values per replication, in replication order.
struct ReplicationTable {
  int columns = 0;
  std::vector<double> values;  // row-major: replication r, column j at r * columns + j

  int replications() const { return columns > 0 ? static_cast<int>(values.size()) / columns : 0; }
  // Column j's values in replication order; may throw std::bad_alloc.
  std::vector<double> Column(int column) const;
};

// Runs body(replication) for every replication of `simulation` (R of them on
// its threads; progress and the stop request on the calling thread) and
// returns their table. `body` must write only its own row and use only what
// it is given and data it reads. The workspaces count along the simulation's
// pair_count_path. Fails with kOutOfMemory (in the set-up or in
// a body) or kInterrupted; R = 0 gives an empty table.
[[nodiscard]] Result<ReplicationTable> Replicate(const Simulation& simulation, int columns,
                                                 const std::function<void(Replication&)>& body);

}  // namespace ixo

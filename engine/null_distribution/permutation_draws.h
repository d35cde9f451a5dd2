// What the permutation tests share: the permuted copies of a series drawn on
// the replication threads (under the sequential rule where it is asked for),
// and the p-values of their table of statistics, raw and adjusted over the
// family. For the tests in this folder; callers use permutation_tests.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "random_stream.h"
#include "replication_pool.h"
#include "sequential_draws.h"
#include "simulation_settings.h"

namespace ixo {

inline constexpr const char* kOutOfMemory = "out of memory";

// Runs `replicate(copy, table row, workspace)` on a shuffled copy of `series`
// (permutation r: Shuffle by RandomStream(seed, r)) for the replications the
// sequential rule needs against `observed` (all R without it), with the
// Workspace of the worker's thread, kept from one replication to the next; the
// table has observed.size() values per replication and keeps the rows drawn,
// their number in `drawn`. Empty on success, else the reason.
template <typename Workspace, typename Replicate>
std::string Permute(std::span<const double> series, const Simulation& simulation,
                    std::span<const double> observed, std::vector<double>& table, int& drawn,
                    const Replicate& replicate) {
  const int count = simulation.replications;
  const std::size_t columns = observed.size();
  const int workers = WorkerCount(count, simulation.threads);
  std::vector<std::vector<double>> copies(workers);
  std::vector<Workspace> workspaces(workers);
  const auto rows = [&](int first, int last) {
    const auto body = [&](int worker, int i) {
      const int r = first + i;
      std::vector<double>& copy = copies[worker];
      copy.assign(series.begin(), series.end());
      RandomStream stream(simulation.seed, static_cast<std::uint64_t>(r));
      Shuffle(copy, stream);
      replicate(std::span<const double>(copy), table.data() + static_cast<std::size_t>(r) * columns,
                workspaces[worker]);
    };
    ProgressCallback progress;
    if (simulation.progress)
      progress = [&](int done, int) { simulation.progress(first + done, count); };
    return RunReplications(last - first, simulation.threads, body, progress) != 0;
  };
  const SequentialDraws draws =
      DrawSequentially(observed, count, simulation.sequential, table, rows);
  if (draws.failed) return kOutOfMemory;
  drawn = draws.drawn;
  if (drawn < count && simulation.progress) simulation.progress(count, count);
  return {};
}

// The p-value of every column of `table` (rows of observed.size() values)
// under the sequential rule (the fixed-R one without it), and the adjusted
// p-values over the columns, never below those; the overall p-value is the
// smallest adjusted one.
struct ColumnPValues {
  std::vector<std::optional<double>> raw;       // none where the observed value is NaN
  std::vector<std::optional<double>> adjusted;  // likewise
  std::optional<double> overall;
};
ColumnPValues PValuesOf(std::span<const double> observed, const std::vector<double>& table,
                        const Simulation& simulation);

}  // namespace ixo

// What the permutation tests share: the permuted copies of a series drawn on
// the replication threads (under the sequential rule where it is asked for),
// and the p-values of their table of statistics, raw and adjusted over the
// family. For the tests in this folder; callers use permutation_tests.h.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ixo_slopes.h"
#include "random_stream.h"
#include "replications.h"
#include "result.h"
#include "sequential_draws.h"
#include "simulation_settings.h"

namespace ixo {

// Runs `replicate(copy, row, workspace, worker)` on a shuffled copy of
// `series` (permutation r: Shuffle by RandomStream(seed, r)) for the
// replications the sequential rule needs against `observed` (all R without
// it), through Replicate: in blocks, each worker (0 .. WorkerCount(R, threads)
// - 1) with its own pair-count workspace. `table` gets observed.size() values
// per replication and keeps the rows drawn. Gives their number, or the
// failure (kOutOfMemory, kInterrupted).
template <typename Body>
Result<int> Permute(std::span<const double> series, const Simulation& simulation,
                    std::span<const double> observed, std::vector<double>& table,
                    const Body& replicate) {
  const int count = simulation.replications;
  const int columns = static_cast<int>(observed.size());
  std::string error;
  const auto rows = [&](int first, int last) {
    Simulation block = simulation;
    block.replications = last - first;
    if (simulation.progress)
      block.progress = [&](int done, int) { simulation.progress(first + done, count); };
    const Result<ReplicationTable> drawn = Replicate(block, columns, [&](Replication& r) {
      RandomStream stream(simulation.seed, static_cast<std::uint64_t>(first + r.index));
      r.series.assign(series.begin(), series.end());
      Shuffle(r.series, stream);
      replicate(std::span<const double>(r.series), r.row, r.workspace, r.worker);
    });
    if (!drawn.ok()) {
      error = drawn.error;
      return false;
    }
    std::copy(drawn.value->values.begin(), drawn.value->values.end(),
              table.begin() + static_cast<std::ptrdiff_t>(first) * columns);
    return true;
  };
  const SequentialDraws draws =
      DrawSequentially(observed, count, simulation.sequential, table, rows);
  if (draws.failed) return Failure<int>(error);
  if (draws.drawn < count && simulation.progress) simulation.progress(count, count);
  return {draws.drawn, {}};
}

// The Ixo values of dimensions 2 .. max_dimension of `copy`, a permutation of
// the series, counted on the series' own description `series_input` (its grid
// and spread) with `workspace` on the calling thread, into row[m - 2]; NaN
// where the copy has no value (HasIxoValue).
void FillIxoRow(const SlopeInput& series_input, int max_dimension, std::span<const double> copy,
                std::span<double> row, PairCountWorkspace& workspace);

// The p-value of every column of `table` (rows of observed.size() values)
// under the sequential rule, else the fixed-R one among the rows where the
// column has a value (none where the series or every row has none), and the
// adjusted p-values over the columns, never below those; the overall p-value
// is the smallest adjusted one.
struct ColumnPValues {
  std::vector<std::optional<double>> raw;       // none where the observed value is NaN
  std::vector<std::optional<double>> adjusted;  // likewise
  std::optional<double> overall;
};
ColumnPValues PValuesOf(std::span<const double> observed, const std::vector<double>& table,
                        const Simulation& simulation);

}  // namespace ixo

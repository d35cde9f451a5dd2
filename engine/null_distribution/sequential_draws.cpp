#include "sequential_draws.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "sequential_p_value.h"

namespace ixo {

SequentialDraws DrawSequentially(std::span<const double> observed, int replications, int tail_count,
                                 std::vector<double>& table, const DrawRows& draw) {
  const std::size_t columns = observed.size();
  table.assign(static_cast<std::size_t>(std::max(replications, 0)) * columns,
               std::numeric_limits<double>::quiet_NaN());
  SequentialDraws result;
  if (replications <= 0) return result;
  const int limit = SequentialLimit(tail_count, replications);
  if (limit <= 0 || columns == 0) {
    result.failed = !draw(0, replications);
    result.drawn = replications;
    return result;
  }

  // stops[j]: the stopping point of statistic j once known (0: needs none).
  std::vector<std::optional<int>> stops(columns);
  for (std::size_t j = 0; j < columns; ++j)
    if (std::isnan(observed[j])) stops[j] = 0;
  std::vector<double> column;
  int done = 0;
  // Both tails need h values, so no statistic stops before 2h replications;
  // after that a block of h at a time.
  int next = std::min(limit, 2 * tail_count);
  while (done < limit) {
    if (!draw(done, next)) return {done, true};
    done = next;
    bool all = true;
    for (std::size_t j = 0; j < columns; ++j) {
      if (stops[j]) continue;
      column.resize(done);
      for (int r = 0; r < done; ++r) column[r] = table[r * columns + j];
      stops[j] = SequentialStop(observed[j], column, tail_count, limit);
      all = all && stops[j].has_value();
    }
    if (all) {
      int drawn = 0;
      for (const std::optional<int>& stop : stops) drawn = std::max(drawn, *stop);
      table.resize(static_cast<std::size_t>(drawn) * columns);
      result.drawn = drawn;
      return result;
    }
    next = std::min(limit, done + tail_count);
  }
  if (done < replications && !draw(done, replications)) return {done, true};
  result.drawn = replications;
  return result;
}

}  // namespace ixo

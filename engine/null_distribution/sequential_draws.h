// The replications of a permutation test drawn under the sequential rule of
// sequential_p_value.h: in blocks, in index order, until every statistic has
// stopped or all R are drawn. Where the rule stops depends only on the values
// of the replications in index order, never on the block size, the threads or
// the order they finish in.
#pragma once

#include <functional>
#include <span>
#include <vector>

namespace ixo {

// Fills rows first .. last - 1 of the table (row r: the statistics of
// replication r); false when it failed (the caller keeps the reason).
using DrawRows = std::function<bool(int first, int last)>;

struct SequentialDraws {
  int drawn = 0;        // the replications the results use, rows 0 .. drawn - 1
  bool failed = false;  // a call of `draw` failed; `table` then holds no result
};

// Sizes `table` to R = `replications` rows of observed.size() values and has
// `draw` fill them block after block. With tail_count h >= 1 it stops once
// each statistic has stopped (SequentialStop within SequentialLimit(h, R); a
// NaN observed value needs no replication), and `table` keeps the rows up to
// the last statistic's stopping point; when some statistic runs past its limit
// every row is drawn. h <= 0 draws all R rows in one call.
[[nodiscard]] SequentialDraws DrawSequentially(std::span<const double> observed, int replications,
                                               int tail_count, std::vector<double>& table,
                                               const DrawRows& draw);

}  // namespace ixo

#include "step_down_min_p.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace ixo {
namespace {

// The numerators of the two-sided p-values of one column's R + 1 values
// (values[0] observed): min(R + 1, 2 min(#{<= v}, #{>= v})), each count over
// the whole column; R + 1 (p = 1) for a NaN.
std::vector<std::int64_t> PValueNumerators(const std::vector<double>& values) {
  const auto total = static_cast<std::int64_t>(values.size());
  std::vector<double> sorted;
  for (double v : values)
    if (!std::isnan(v)) sorted.push_back(v);
  std::sort(sorted.begin(), sorted.end());
  const auto present = static_cast<std::int64_t>(sorted.size());
  std::vector<std::int64_t> numerators(values.size(), total);
  for (std::size_t c = 0; c < values.size(); ++c) {
    if (std::isnan(values[c])) continue;
    const std::int64_t at_most =
        std::upper_bound(sorted.begin(), sorted.end(), values[c]) - sorted.begin();
    const std::int64_t at_least =
        present - (std::lower_bound(sorted.begin(), sorted.end(), values[c]) - sorted.begin());
    numerators[c] = std::min(total, 2 * std::min(at_most, at_least));
  }
  return numerators;
}

}  // namespace

FamilyPValues StepDownMinP(std::span<const double> observed, std::span<const double> replicated) {
  const std::size_t columns = observed.size();
  FamilyPValues family;
  family.adjusted.assign(columns, std::nullopt);
  if (columns == 0 || replicated.empty()) return family;
  assert(replicated.size() % columns == 0);
  const std::size_t rows = replicated.size() / columns + 1;  // the observed row first

  // members[i]: column of the i-th member; p[i][c]: its numerator in row c.
  std::vector<std::size_t> members;
  for (std::size_t j = 0; j < columns; ++j)
    if (!std::isnan(observed[j])) members.push_back(j);
  if (members.empty()) return family;
  std::vector<std::vector<std::int64_t>> p;
  std::vector<double> column(rows);
  for (std::size_t j : members) {
    column[0] = observed[j];
    for (std::size_t r = 1; r < rows; ++r) column[r] = replicated[(r - 1) * columns + j];
    p.push_back(PValueNumerators(column));
  }
  std::vector<std::size_t> order(members.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return p[a][0] < p[b][0]; });

  // counts[i]: rows whose smallest p-value over members order[i .. K) is at
  // most the observed p-value of order[i].
  std::vector<std::int64_t> counts(order.size(), 0);
  for (std::size_t c = 0; c < rows; ++c) {
    std::int64_t smallest = static_cast<std::int64_t>(rows);
    for (std::size_t i = order.size(); i-- > 0;) {
      smallest = std::min(smallest, p[order[i]][c]);
      counts[i] += smallest <= p[order[i]][0];
    }
  }
  std::int64_t running = 0;
  const auto total = static_cast<double>(rows);
  for (std::size_t i = 0; i < order.size(); ++i) {
    running = std::max({running, counts[i], p[order[i]][0]});
    family.adjusted[members[order[i]]] = static_cast<double>(running) / total;
  }
  family.overall = family.adjusted[members[order[0]]];
  return family;
}

std::string LevelVerdict(double p_value) {
  if (p_value < 0.01) return "reject at 1%";
  if (p_value < 0.02) return "reject at 2%";
  if (p_value < 0.05) return "reject at 5%";
  if (p_value < 0.10) return "reject at 10%";
  return "do not reject";
}

}  // namespace ixo

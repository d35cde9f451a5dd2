#include "step_down_min_p.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace ixo {
namespace {

// How extreme one value is within its column: first its p-value's numerator
// (smaller is more extreme), then its distance from the column's mean (larger
// is more extreme).
struct Key {
  std::int64_t numerator = 0;
  double distance = 0;
};

bool AtLeastAsExtreme(const Key& a, const Key& b) {
  return a.numerator < b.numerator || (a.numerator == b.numerator && a.distance >= b.distance);
}

// The keys of one column's R + 1 values (values[0] observed): the numerator
// min(R + 1, 2 min(#{<= v}, #{>= v})), each count over the whole column, and
// |v - mean| / sd over the column's values (0 where sd is 0); R + 1 and 0 for
// a NaN, which counts on neither side.
std::vector<Key> KeysOf(const std::vector<double>& values) {
  const auto total = static_cast<std::int64_t>(values.size());
  std::vector<double> sorted;
  for (double v : values)
    if (!std::isnan(v)) sorted.push_back(v);
  std::sort(sorted.begin(), sorted.end());
  const auto present = static_cast<std::int64_t>(sorted.size());
  double mean = 0;
  for (double v : sorted) mean += v;
  mean /= std::max<double>(1, static_cast<double>(present));
  double squares = 0;
  for (double v : sorted) squares += (v - mean) * (v - mean);
  const double sd = std::sqrt(squares / std::max<double>(1, static_cast<double>(present)));
  std::vector<Key> keys(values.size(), Key{total, 0});
  for (std::size_t c = 0; c < values.size(); ++c) {
    if (std::isnan(values[c])) continue;
    const std::int64_t at_most =
        std::upper_bound(sorted.begin(), sorted.end(), values[c]) - sorted.begin();
    const std::int64_t at_least =
        present - (std::lower_bound(sorted.begin(), sorted.end(), values[c]) - sorted.begin());
    keys[c].numerator = std::min(total, 2 * std::min(at_most, at_least));
    keys[c].distance = sd > 0 ? std::fabs(values[c] - mean) / sd : 0;
  }
  return keys;
}

}  // namespace

FamilyPValues StepDownMinP(std::span<const double> observed, std::span<const double> replicated) {
  const std::size_t columns = observed.size();
  FamilyPValues family;
  family.adjusted.assign(columns, std::nullopt);
  if (columns == 0 || replicated.empty()) return family;
  assert(replicated.size() % columns == 0);
  const std::size_t rows = replicated.size() / columns + 1;  // the observed row first

  // members[i]: column of the i-th member; keys[i][c]: its key in row c.
  std::vector<std::size_t> members;
  for (std::size_t j = 0; j < columns; ++j)
    if (!std::isnan(observed[j])) members.push_back(j);
  if (members.empty()) return family;
  std::vector<std::vector<Key>> keys;
  std::vector<double> column(rows);
  for (std::size_t j : members) {
    column[0] = observed[j];
    for (std::size_t r = 1; r < rows; ++r) column[r] = replicated[(r - 1) * columns + j];
    keys.push_back(KeysOf(column));
  }
  std::vector<std::size_t> order(members.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return AtLeastAsExtreme(keys[a][0], keys[b][0]) && !AtLeastAsExtreme(keys[b][0], keys[a][0]);
  });

  // counts[i]: rows whose most extreme key over members order[i .. K) is at
  // least as extreme as the observed key of order[i].
  std::vector<std::int64_t> counts(order.size(), 0);
  for (std::size_t c = 0; c < rows; ++c) {
    Key most = keys[order.back()][c];
    for (std::size_t i = order.size(); i-- > 0;) {
      const Key& key = keys[order[i]][c];
      if (AtLeastAsExtreme(key, most)) most = key;
      counts[i] += AtLeastAsExtreme(most, keys[order[i]][0]);
    }
  }
  std::int64_t running = 0;
  const auto total = static_cast<double>(rows);
  for (std::size_t i = 0; i < order.size(); ++i) {
    running = std::max({running, counts[i], keys[order[i]][0].numerator});
    family.adjusted[members[order[i]]] = static_cast<double>(running) / total;
  }
  family.overall = family.adjusted[members[order[0]]];
  return family;
}

}  // namespace ixo

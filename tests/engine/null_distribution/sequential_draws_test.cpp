#include "sequential_draws.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "random_stream.h"
#include "sequential_p_value.h"

namespace ixo {
namespace {

// A table whose row r is known in advance, drawn through DrawSequentially with
// every call logged.
struct FakeTest {
  std::vector<double> observed;
  std::vector<double> rows;  // R rows of observed.size() values
  std::vector<std::pair<int, int>> calls;
  int fail_at = -1;  // the call that fails, if any

  SequentialDraws Run(int replications, int h, std::vector<double>& table) {
    const std::size_t k = observed.size();
    return DrawSequentially(observed, replications, h, table, [&, k](int first, int last) {
      calls.emplace_back(first, last);
      if (static_cast<int>(calls.size()) - 1 == fail_at) return false;
      std::copy(rows.begin() + first * k, rows.begin() + last * k, table.begin() + first * k);
      return true;
    });
  }
};

// The replications the rule needs, read off the whole table.
int NeededFromTheWholeTable(const FakeTest& test, int replications, int h) {
  const std::size_t k = test.observed.size();
  int needed = 0;
  for (std::size_t j = 0; j < k; ++j) {
    if (std::isnan(test.observed[j])) continue;
    std::vector<double> column;
    for (int r = 0; r < replications; ++r) column.push_back(test.rows[r * k + j]);
    const std::optional<int> stop =
        SequentialStop(test.observed[j], column, h, SequentialLimit(h, replications));
    if (!stop) return replications;
    needed = std::max(needed, *stop);
  }
  return needed;
}

TEST(DrawSequentially, StopsWhereTheWholeTableSaysInOrderedBlocks) {
  for (int t = 0; t < 200; ++t) {
    RandomStream stream(8, static_cast<std::uint64_t>(t));
    const int k = 1 + static_cast<int>(stream.Below(4));
    const int replications = 1 + static_cast<int>(stream.Below(150));
    const int h = static_cast<int>(stream.Below(6));
    FakeTest test;
    for (int j = 0; j < k; ++j) {
      // Now and then an observed value far out (runs to R) or NaN (needs nothing).
      const std::uint64_t kind = stream.Below(8);
      test.observed.push_back(kind == 0 ? 10.0 : kind == 1 ? NAN : stream.Normal());
    }
    for (int r = 0; r < replications * k; ++r) test.rows.push_back(stream.Normal());
    std::vector<double> table;
    const SequentialDraws draws = test.Run(replications, h, table);
    ASSERT_FALSE(draws.failed);
    const int needed = NeededFromTheWholeTable(test, replications, h);
    EXPECT_EQ(draws.drawn, needed) << "trial " << t << " h=" << h << " R=" << replications;
    ASSERT_EQ(table.size(), static_cast<std::size_t>(draws.drawn) * k) << "trial " << t;
    EXPECT_TRUE(std::equal(table.begin(), table.end(), test.rows.begin())) << "trial " << t;
    // The calls cover 0 .. some end without gap or overlap, in order.
    int expected_first = 0;
    for (const auto& [first, last] : test.calls) {
      EXPECT_EQ(first, expected_first) << "trial " << t;
      EXPECT_LT(first, last) << "trial " << t;
      expected_first = last;
    }
    EXPECT_GE(expected_first, draws.drawn) << "trial " << t;
    if (h == 0) {
      EXPECT_EQ(test.calls.size(), 1u) << "trial " << t;
    }
  }
}

TEST(DrawSequentially, AFailedDrawIsReported) {
  FakeTest test;
  test.observed = {10.0};  // never stops
  test.rows.assign(50, 0.0);
  test.fail_at = 1;
  std::vector<double> table;
  const SequentialDraws draws = test.Run(50, 2, table);
  EXPECT_TRUE(draws.failed);
  EXPECT_EQ(test.calls.size(), 2u);
  std::vector<double> none;
  FakeTest empty;
  empty.observed = {1.0};
  EXPECT_EQ(empty.Run(0, 2, none).drawn, 0);
  EXPECT_TRUE(empty.calls.empty());
}

}  // namespace
}  // namespace ixo

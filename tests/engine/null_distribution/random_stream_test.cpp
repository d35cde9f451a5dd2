#include "random_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace ixo {
namespace {

TEST(RandomStream, DependsOnSeedAndIndexAlone) {
  RandomStream a(7, 3);
  RandomStream again(7, 3);
  RandomStream other_index(7, 4);
  RandomStream other_seed(8, 3);
  int differ_index = 0;
  int differ_seed = 0;
  for (int i = 0; i < 100; ++i) {
    const std::uint64_t v = a.Next();
    EXPECT_EQ(v, again.Next()) << i;
    differ_index += v != other_index.Next();
    differ_seed += v != other_seed.Next();
  }
  EXPECT_EQ(differ_index, 100);
  EXPECT_EQ(differ_seed, 100);
}

TEST(RandomStream, BelowStaysInRange) {
  RandomStream s(1, 0);
  for (std::uint64_t bound : {1ULL, 2ULL, 3ULL, 1000ULL, (1ULL << 63) + 1}) {
    for (int i = 0; i < 1000; ++i) ASSERT_LT(s.Below(bound), bound) << bound;
  }
}

TEST(Shuffle, EveryOrderEquallyOften) {
  // A Fisher-Yates shuffle drawing from 0..i - 1 instead of 0..i never leaves
  // a value in place (Sattolo's cycles); one drawing from 0..size - 1 favours
  // some orders. 6000 shuffles of three values: about 1000 of each order.
  std::map<std::vector<double>, int> orders;
  for (int r = 0; r < 6000; ++r) {
    std::vector<double> v = {1, 2, 3};
    RandomStream stream(5, r);
    Shuffle(v, stream);
    ++orders[v];
  }
  ASSERT_EQ(orders.size(), 6u);
  for (const auto& [order, count] : orders) {
    EXPECT_NEAR(count, 1000, 120) << order[0] << order[1] << order[2];
  }
}

TEST(RandomStream, NormalHasTheStandardMomentsAndTails) {
  RandomStream s(11, 0);
  constexpr int kCount = 40000;
  double sum = 0;
  double squares = 0;
  int beyond = 0;  // |z| > 1.96: 5 %
  for (int i = 0; i < kCount; ++i) {
    const double z = s.Normal();
    sum += z;
    squares += z * z;
    beyond += std::fabs(z) > 1.959964;
  }
  EXPECT_NEAR(sum / kCount, 0, 0.02);
  EXPECT_NEAR(squares / kCount, 1, 0.03);
  EXPECT_NEAR(static_cast<double>(beyond) / kCount, 0.05, 0.005);
}

}  // namespace
}  // namespace ixo

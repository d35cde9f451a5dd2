#include "analysis/gap_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace ixo {
namespace {

std::vector<int> GaugeSequence(std::vector<double> values) {
  std::vector<int> order(values.size());
  std::iota(order.begin(), order.end(), 0);
  std::vector<int> gauges;
  GapSort(values, order, [&](int percent) { gauges.push_back(percent); });
  return gauges;
}

std::vector<double> Shuffled(int count, unsigned seed) {
  std::vector<double> values(static_cast<size_t>(count));
  std::iota(values.begin(), values.end(), 0.0);
  std::shuffle(values.begin(), values.end(), std::mt19937(seed));
  return values;
}

TEST(GapSort, GaugeAfterEveryGapStage) {
  struct Case {
    int count;
    std::vector<int> gauges;
  };
  const Case cases[] = {
      {1, {}},
      {2, {100}},
      {3, {100}},
      {4, {37, 100}},
      {500, {11, 22, 34, 45, 56, 69, 82, 100}},
      // L = 256 = 2^8 and the gaps are powers of two, so 12.5, 37.5, 62.5 and
      // 87.5 are exact halves: they go to the even neighbour.
      {257, {12, 25, 38, 50, 62, 75, 88, 100}},
      {10000, {8, 15, 23, 30, 38, 45, 53, 60, 68, 76, 85, 92, 100}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GaugeSequence(Shuffled(c.count, 7)), c.gauges) << "N = " << c.count;
  }
}

TEST(GapSort, GaugeDoesNotDependOnTheData) {
  std::vector<double> sorted(500);
  std::iota(sorted.begin(), sorted.end(), 0.0);
  EXPECT_EQ(GaugeSequence(sorted), GaugeSequence(Shuffled(500, 3)));
}

TEST(GapSort, ExactHalfGoesToTheEvenNeighbour) {
  // L = 6561 = 3^8, gap 3: 100 * 7/8 = 87.5.
  EXPECT_EQ(GapSortGauge(6562, 3), 88);
  EXPECT_EQ(GapSortGauge(257, 128), 12);
  EXPECT_EQ(GapSortGauge(257, 8), 62);
  EXPECT_EQ(GapSortGauge(10, 1), 100);
}

TEST(GapSort, SortsAndCarriesTheOrigins) {
  std::mt19937 random(42);
  for (int count : {0, 1, 2, 3, 5, 16, 17, 100, 1001}) {
    // Few distinct values, so that ties are common.
    std::uniform_int_distribution<int> pick(-5, 5);
    std::vector<double> input(static_cast<size_t>(count));
    for (double& v : input) v = pick(random) * 0.5;
    std::vector<double> values = input;
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    GapSort(values, order, nullptr);

    std::vector<double> expected = input;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(values, expected) << "N = " << count;
    std::vector<int> seen = order;
    std::sort(seen.begin(), seen.end());
    for (int i = 0; i < count; ++i) {
      ASSERT_EQ(seen[static_cast<size_t>(i)], i) << "N = " << count;
      EXPECT_EQ(input[static_cast<size_t>(order[static_cast<size_t>(i)])],
                values[static_cast<size_t>(i)])
          << "N = " << count << " position " << i;
    }
  }
}

// The sort skips comparisons that cannot exchange; it must still make exactly
// the exchanges of full passes repeated until one exchanges nothing, which
// decide where equal values end up.
void FullPassSort(std::vector<double>& values, std::vector<int>& order) {
  const size_t n = values.size();
  for (size_t gap = n / 2; gap >= 1; gap /= 2) {
    bool exchanged = true;
    while (exchanged) {
      exchanged = false;
      for (size_t j = 0; j + gap < n; ++j) {
        if (values[j] > values[j + gap]) {
          std::swap(values[j], values[j + gap]);
          std::swap(order[j], order[j + gap]);
          exchanged = true;
        }
      }
    }
  }
}

TEST(GapSort, SameExchangesAsFullPasses) {
  std::mt19937 random(99);
  for (int count : {2, 7, 64, 255, 1000}) {
    for (int distinct : {2, 10, 1000}) {
      std::uniform_int_distribution<int> pick(0, distinct - 1);
      std::vector<double> values(static_cast<size_t>(count));
      for (double& v : values) v = pick(random);
      std::vector<int> order(values.size());
      std::iota(order.begin(), order.end(), 0);
      std::vector<double> expected_values = values;
      std::vector<int> expected_order = order;
      FullPassSort(expected_values, expected_order);
      GapSort(values, order, nullptr);
      EXPECT_EQ(values, expected_values) << "N = " << count << ", " << distinct << " values";
      EXPECT_EQ(order, expected_order) << "N = " << count << ", " << distinct << " values";
    }
  }
}

// The gap stages move equal values past each other and the passes then never
// exchange them, so ties end in the order the exchanges leave them, which is
// not the order a stable sort gives ({3, 1, 2, 0}).
TEST(GapSort, TiesFollowTheExchanges) {
  std::vector<double> values = {3, 1, 1, 0};
  std::vector<int> order = {0, 1, 2, 3};
  GapSort(values, order, nullptr);
  EXPECT_EQ(values, (std::vector<double>{0, 1, 1, 3}));
  EXPECT_EQ(order, (std::vector<int>{3, 2, 1, 0}));
}

}  // namespace
}  // namespace ixo

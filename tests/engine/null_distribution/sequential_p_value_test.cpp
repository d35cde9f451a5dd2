#include "sequential_p_value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "monte_carlo.h"
#include "random_stream.h"

namespace ixo {
namespace {

TEST(SequentialLimit, KeepsEveryStoppedPValueAboveTenPercent) {
  struct Case {
    int h, replications, limit;
  };
  const Case cases[] = {{0, 999, 0},    {-3, 999, 0}, {10, 999, 199}, {50, 999, 998},
                        {60, 999, 998}, {1, 19, 18},  {10, 100, 99},  {1, 0, 0}};
  for (const Case& c : cases) {
    const int limit = SequentialLimit(c.h, c.replications);
    EXPECT_EQ(limit, c.limit) << c.h << " " << c.replications;
    if (limit > 0) {
      EXPECT_GT(2.0 * c.h / limit, 0.10) << c.h << " " << c.replications;
    }
  }
}

TEST(SequentialStop, StopsAtTheFirstPrefixWithBothTails) {
  // Observed 5: "lo" and "hi" mark values below and above, 5 counts on both sides.
  struct Case {
    std::vector<double> replicated;
    int h, limit;
    std::optional<int> stop;
  };
  const Case cases[] = {
      {{1, 9, 2, 8}, 2, 10, 4},             // both tails reach 2 at the fourth
      {{1, 2, 3, 9, 8}, 2, 10, 5},          // the upper tail is the later one
      {{5, 5}, 2, 10, 2},                   // a tie counts on both sides
      {{1, 2, 3, 4}, 1, 10, std::nullopt},  // never above
      {{1, 9, 2, 8}, 2, 3, std::nullopt},   // the limit comes first
      {{1, 9, 2, 8}, 2, 4, 4},              // the limit itself may stop
      {{1, NAN, 9}, 1, 10, 3},              // a NaN counts on neither side
      {{1, 9}, 0, 10, std::nullopt},        // the rule is off
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SequentialStop(5, c.replicated, c.h, c.limit), c.stop)
        << "h=" << c.h << " limit=" << c.limit << " first=" << c.replicated[0]
        << " size=" << c.replicated.size();
  }
}

TEST(SequentialPValue, StoppedIsTwoHOverLElseTheFixedOne) {
  // R = 9, h = 1: limit 8.
  const std::vector<double> mixed = {1, 9, 2, 3, 4, 6, 7, 8, 0};
  EXPECT_DOUBLE_EQ(SequentialPValue(5, mixed, 1, 9), 1.0);  // 2 * 1 / 2, capped
  const std::vector<double> below = {1, 2, 3, 4, 0, 1, 2, 3, 4};
  EXPECT_EQ(SequentialPValue(5, below, 1, 9), MonteCarloPValue(5, below));
  EXPECT_EQ(SequentialPValue(5, below, 0, 9), MonteCarloPValue(5, below));
  // h = 2, R = 9: the second value above arrives at the ninth, past the limit 8.
  const std::vector<double> late = {1, 2, 6, 3, 4, 0, 1, 2, 7};
  EXPECT_EQ(SequentialPValue(5, late, 2, 9), MonteCarloPValue(5, late));
  // h = 2, R = 99: both tails twice after 6 replications, p = 4 / 6.
  std::vector<double> many(99, 0.0);
  const double head[] = {1, 9, 2, 3, 4, 8};
  std::copy(std::begin(head), std::end(head), many.begin());
  EXPECT_DOUBLE_EQ(SequentialPValue(5, std::span<const double>(many).first(6), 2, 99), 4.0 / 6);
}

// The sequential p-value of trial t: observed value and R replications drawn
// i.i.d. (continuous, or on a few integers for ties), so exchangeable.
struct Trial {
  double observed;
  std::vector<double> replicated;
};

Trial Draw(int t, int replications, bool ties) {
  RandomStream stream(31, static_cast<std::uint64_t>(t));
  const auto value = [&] { return ties ? static_cast<double>(stream.Below(5)) : stream.Normal(); };
  Trial trial{value(), std::vector<double>(replications)};
  for (double& v : trial.replicated) v = value();
  return trial;
}

TEST(SequentialPValue, ValidAtEveryLevelAndTheFixedVerdictBelowTenPercent) {
  // P(p <= a) <= a within three standard errors, at the table's levels and
  // above them, for a tail count and R small enough to stop often; below 10 %
  // every verdict is the fixed-R one.
  constexpr int kTrials = 20000;
  constexpr int kReplications = 99;
  constexpr double kLevels[] = {0.01, 0.02, 0.05, 0.10, 0.2, 0.3, 0.5, 0.8};
  for (const int h : {1, 2, 5}) {
    for (const bool ties : {false, true}) {
      int at_most[std::size(kLevels)] = {};
      int stopped = 0;
      for (int t = 0; t < kTrials; ++t) {
        const Trial trial = Draw(t, kReplications, ties);
        const double p = SequentialPValue(trial.observed, trial.replicated, h, kReplications);
        const double fixed = MonteCarloPValue(trial.observed, trial.replicated);
        const bool stops =
            SequentialStop(trial.observed, trial.replicated, h, SequentialLimit(h, kReplications))
                .has_value();
        stopped += stops;
        if (stops) {
          ASSERT_GT(p, 0.10) << "trial " << t << " h=" << h;
        } else {
          ASSERT_EQ(p, fixed) << "trial " << t << " h=" << h;
        }
        for (std::size_t l = 0; l < std::size(kLevels); ++l) at_most[l] += p <= kLevels[l];
      }
      for (std::size_t l = 0; l < std::size(kLevels); ++l) {
        const double a = kLevels[l];
        const double share = static_cast<double>(at_most[l]) / kTrials;
        EXPECT_LE(share, a + 3 * std::sqrt(a * (1 - a) / kTrials))
            << "h=" << h << (ties ? " ties" : "") << " a=" << a;
      }
      // The rule saves permutations: most i.i.d. trials stop early.
      EXPECT_GT(stopped, kTrials / 2) << "h=" << h << (ties ? " ties" : "");
    }
  }
}

}  // namespace
}  // namespace ixo

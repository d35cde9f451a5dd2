#include "correlation_integrals.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

namespace ixo {
namespace {

// Close pairs of i-histories counted directly, the way the definition reads.
double DirectIntegral(const std::vector<double>& x, int i, double eps) {
  const int n = static_cast<int>(x.size());
  const int big_m = n - i + 1;
  int64_t close = 0;
  for (int r = 0; r < big_m; ++r) {
    for (int s = r + 1; s < big_m; ++s) {
      bool all = true;
      for (int l = 0; l < i && all; ++l) all = std::fabs(x[r + l] - x[s + l]) <= eps;
      close += all;
    }
  }
  const double md = big_m;
  return 2.0 * static_cast<double>(close) / (md * (md - 1));
}

struct DirectSums {
  double K;
  double c;
};

DirectSums DirectKc(const std::vector<double>& x, double eps) {
  const double n = static_cast<double>(x.size());
  int64_t total = 0;
  double squares = 0;
  for (double a : x) {
    int64_t f = 0;
    for (double b : x) f += std::fabs(a - b) <= eps;
    total += f;
    squares += static_cast<double>(f * f);
  }
  return {squares / (n * n * n), static_cast<double>(total) / (n * n)};
}

TEST(CorrelationIntegrals, WorkedExample) {
  const std::vector<double> x = {1, 2, 3, 10};
  const KernelResult r = correlation_integrals(x, 2, 1.0);
  // f = 2, 3, 2, 1: T = 8, S = 18.
  EXPECT_DOUBLE_EQ(r.c, 8.0 / 16.0);
  EXPECT_DOUBLE_EQ(r.K, 18.0 / 64.0);
  EXPECT_DOUBLE_EQ(r.integrals[1], 1.0 / 3.0);  // pairs (0,1), (1,2) of 6
  EXPECT_DOUBLE_EQ(r.integrals[2], 1.0 / 3.0);  // histories 0 and 1 only, of 3 pairs
  release_tables();
}

TEST(CorrelationIntegrals, DifferenceEqualToEpsIsClose) {
  const std::vector<double> x = {0.0, 0.5, 5.0};
  EXPECT_DOUBLE_EQ(correlation_integrals(x, 1, 0.5).integrals[1], 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(correlation_integrals(x, 1, 0.4999).integrals[1], 0.0);
  release_tables();
}

TEST(CorrelationIntegrals, SixteenPartnersSpanTwoWords) {
  // 17 equal values: row 0 has 16 partners, lag 15 alone in its second word.
  const std::vector<double> x(17, 3.0);
  const KernelResult r = correlation_integrals(x, 16, 1.0);
  for (int i = 1; i <= 16; ++i) EXPECT_DOUBLE_EQ(r.integrals[i], 1.0) << "i=" << i;
  EXPECT_DOUBLE_EQ(r.c, 1.0);
  EXPECT_DOUBLE_EQ(r.K, 1.0);
  release_tables();
}

// Every count identical to the direct count, on series with many ties and with
// differences exactly equal to eps (values on a grid of 1/4, exact in binary),
// and on continuous values; n from 2 to 80 covers rows of one and two words and
// every mask case, m from 1 to 16.
TEST(CorrelationIntegrals, MatchesDirectCountOnRandomSeries) {
  std::mt19937_64 rng(20240105);
  for (int trial = 0; trial < 600; ++trial) {
    const int n = 2 + static_cast<int>(rng() % 79);
    const int kind = trial % 3;
    std::vector<double> x(n);
    for (double& v : x) {
      if (kind == 0) v = 0.25 * static_cast<double>(rng() % 9);  // heavy ties
      if (kind == 1) v = 0.25 * static_cast<double>(rng() % 41) - 5.0;
      if (kind == 2) v = std::ldexp(static_cast<double>(rng() >> 11), -53) * 4.0 - 2.0;
    }
    const double eps = kind == 2 ? 0.05 + 0.5 * std::ldexp(static_cast<double>(rng() >> 11), -53)
                                 : 0.25 * static_cast<double>(1 + rng() % 6);
    const int top = std::min(16, n - 1);
    const int m = 1 + static_cast<int>(rng() % top);
    const KernelResult r = correlation_integrals(x, m, eps);
    for (int i = 1; i <= m; ++i) {
      ASSERT_EQ(r.integrals[i], DirectIntegral(x, i, eps))
          << "trial " << trial << " n=" << n << " m=" << m << " eps=" << eps << " i=" << i;
    }
    const DirectSums direct = DirectKc(x, eps);
    ASSERT_EQ(r.K, direct.K) << "trial " << trial;
    ASSERT_EQ(r.c, direct.c) << "trial " << trial;
  }
  release_tables();
}

TEST(CorrelationIntegrals, SameSeriesAgainGivesSameResults) {
  // The bit rows are cleared and rebuilt on every call of the same n.
  const std::vector<double> x = {0.1, 0.9, 0.2, 0.8, 0.3, 0.7, 0.4, 0.6, 0.5, 0.0};
  const KernelResult wide = correlation_integrals(x, 4, 0.35);
  correlation_integrals(x, 4, 0.01);
  const KernelResult again = correlation_integrals(x, 4, 0.35);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(wide.integrals[i], again.integrals[i]) << i;
  release_tables();
}

TEST(CorrelationIntegrals, LowerBoundsOfKAndC) {
  // f is never below 1: c >= 1/n and K >= 1/n^2.
  const std::vector<double> x = {0, 10, 20, 30, 40};
  const KernelResult r = correlation_integrals(x, 3, 1.0);
  EXPECT_DOUBLE_EQ(r.c, 1.0 / 5);
  EXPECT_DOUBLE_EQ(r.K, 1.0 / 25);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(r.integrals[i], 0.0);
  release_tables();
}

#ifndef IXO_UNDER_SANITIZER
// Runs the kernel as a process limited to 150 MB of address space would; the
// refusal reaches the caller as std::bad_alloc, which ends this child with 255.
void KernelWithin150MB(const std::vector<double>& x) {
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = 150u << 20;
  setrlimit(RLIMIT_AS, &limit);
  try {
    correlation_integrals(x, 2, 0.5);
  } catch (const std::bad_alloc&) {
    std::exit(255);
  }
}

// A sanitizer reserves far more address space than the limit allows.
TEST(CorrelationIntegralsDeathTest, TablesBeyondTheMemoryAtHandAreRefusedBeforeAllocating) {
  // 60000 values need about 240 MB of bit rows.
  std::vector<double> x(60000);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<double>(i % 977) / 977;
  EXPECT_EXIT(KernelWithin150MB(x), ::testing::ExitedWithCode(255),
              "60000 values need [0-9]+ MB .* [0-9]+ MB of memory are available");
}
#endif

}  // namespace
}  // namespace ixo

#include "permutation_tests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "bds.h"
#include "correlation_integrals.h"
#include "random_stream.h"
#include "statistics.h"

namespace ixo {
namespace {

// Fewer series under the sanitizers, whose build runs the counts many times
// slower; the tolerance follows the number.
#ifdef IXO_UNDER_SANITIZER
constexpr int kUniformitySeries = 40;
#else
constexpr int kUniformitySeries = 150;
#endif

std::vector<double> Logistic(int n) {
  std::ifstream in(std::string(IXO_EXAMPLES_DIR) + "/logistic.txt");
  std::vector<double> x;
  for (double v; static_cast<int>(x.size()) < n && in >> v;) x.push_back(v);
  return x;
}

std::vector<double> Normal(int n, std::uint64_t seed) {
  RandomStream stream(seed, 0);
  std::vector<double> x(n);
  for (double& v : x) v = stream.Normal();
  return x;
}

TEST(PermutationTestIxo, ObservedValuesAreTheEnginesBitForBit) {
  const std::vector<double> x = Logistic(200);
  IxoSettings settings;
  settings.max_dimension = 6;
  Simulation simulation;
  simulation.replications = 0;
  const Result<IxoPermutationTest> result = PermutationTestIxo(x, settings, simulation);
  ASSERT_EQ(result.error, "");
  const IxoPermutationTest& test = *result.value;
  EXPECT_TRUE(test.p_values.empty());
  const Statistics s = Describe(x);
  const SlopeInput reference{x, DistanceGrid(0.60, 1.90, s.sd, 40), s.spread, 50,
                             CountingPath::kKernel};
  const std::vector<DimensionSlope> engine = IxoSlopes(reference, 2, 6);
  ASSERT_EQ(test.observed.size(), engine.size());
  for (std::size_t i = 0; i < engine.size(); ++i) {
    EXPECT_EQ(test.observed[i].dimension, engine[i].dimension);
    EXPECT_EQ(test.observed[i].slope, engine[i].slope) << engine[i].dimension;
    EXPECT_EQ(test.observed[i].points, engine[i].points) << engine[i].dimension;
  }
  release_tables();
}

TEST(PermutationTestBds, ObservedValuesAreTheEnginesBitForBit) {
  // The engine's write mode 2: the kernel at eps * sd, then bds_ratio.
  const std::vector<double> x = Normal(300, 9);
  const double eps[] = {0.5, 1.5};
  Simulation simulation;
  simulation.replications = 0;
  const Result<BdsPermutationTest> result = PermutationTestBds(x, 4, eps, simulation);
  ASSERT_EQ(result.error, "");
  const BdsPermutationTest& test = *result.value;
  ASSERT_EQ(test.values.size(), 6u);
  const double sd = Describe(x).sd;
  for (const BdsValue& v : test.values) {
    const KernelResult k = correlation_integrals(x, v.m, v.eps * sd);
    const double bds = std::sqrt(static_cast<double>(300 - v.m + 1)) *
                       bds_ratio(k.integrals[1], k.integrals[v.m], k.K, k.c, v.m);
    ASSERT_TRUE(v.bds.has_value()) << v.m << " " << v.eps;
    EXPECT_EQ(*v.bds, bds) << v.m << " " << v.eps;
    EXPECT_DOUBLE_EQ(*v.p_normal, std::erfc(std::fabs(bds) / std::sqrt(2.0)));
    EXPECT_FALSE(v.p_permutation.has_value());
  }
  release_tables();
}

TEST(PermutationTests, AnyThreadCountGivesTheSameResults) {
  const std::vector<double> x = Normal(120, 4);
  IxoSettings settings;
  settings.max_dimension = 4;
  const double eps[] = {1.0};
  std::vector<double> first_ixo;
  std::vector<double> first_bds;
  for (int threads : {1, 2, 3}) {
    const Simulation simulation{40, 77, threads, {}, {}};
    const Result<IxoPermutationTest> ixo_result = PermutationTestIxo(x, settings, simulation);
    const Result<BdsPermutationTest> bds_result = PermutationTestBds(x, 3, eps, simulation);
    ASSERT_EQ(ixo_result.error + bds_result.error, "");
    const IxoPermutationTest& ixo = *ixo_result.value;
    const BdsPermutationTest& bds = *bds_result.value;
    std::vector<double> bds_p;
    for (const BdsValue& v : bds.values) bds_p.push_back(v.p_permutation.value_or(-1));
    if (first_ixo.empty()) {
      first_ixo = ixo.p_values;
      first_bds = bds_p;
      continue;
    }
    EXPECT_EQ(ixo.p_values, first_ixo) << threads;
    EXPECT_EQ(bds_p, first_bds) << threads;
  }
  EXPECT_EQ(first_ixo.size(), 3u);
}

TEST(PermutationTests, ChaoticSeriesIsRejected) {
  // The logistic map: deterministic, so far from every permuted copy.
  const std::vector<double> x = Logistic(120);
  IxoSettings settings;
  settings.max_dimension = 5;
  const double eps[] = {0.5, 1.0};
  const Simulation simulation{249, kDefaultSeed, 0, {}, {}};
  const Result<IxoPermutationTest> ixo_result = PermutationTestIxo(x, settings, simulation);
  ASSERT_EQ(ixo_result.error, "");
  const IxoPermutationTest& ixo = *ixo_result.value;
  for (std::size_t i = 0; i < ixo.p_values.size(); ++i)
    EXPECT_LT(ixo.p_values[i], 0.01) << ixo.observed[i].dimension;
  const Result<BdsPermutationTest> bds = PermutationTestBds(x, 3, eps, simulation);
  ASSERT_EQ(bds.error, "");
  for (const BdsValue& v : bds.value->values) {
    EXPECT_LT(v.p_permutation.value_or(1), 0.01) << v.m << " " << v.eps;
    EXPECT_LT(v.p_normal.value_or(1), 0.01) << v.m << " " << v.eps;
  }
}

TEST(PermutationTestIxo, PValuesOfIidSeriesAreUniform) {
  // kUniformitySeries series of 100 values, far below the smallest tabulated class, each
  // against 39 permutations (p in steps of 0.05): P(p <= a) is a for a = 0.1,
  // 0.3 and 0.5, within about three standard errors. Normal values, and
  // Cauchy values (a ratio of two normals) for a fat-tailed law.
  IxoSettings settings;
  settings.max_dimension = 3;
  for (const bool cauchy : {false, true}) {
    int at_most[3] = {};
    constexpr double kLevels[3] = {0.1, 0.3, 0.5};
    constexpr int kSeries = kUniformitySeries;
    int tests = 0;
    for (int k = 0; k < kSeries; ++k) {
      RandomStream stream(cauchy ? 1000 + k : k, 0);
      std::vector<double> x(100);
      for (double& v : x) v = cauchy ? stream.Normal() / stream.Normal() : stream.Normal();
      const Result<IxoPermutationTest> test =
          PermutationTestIxo(x, settings, Simulation{19, 5, 0, {}, {}});
      ASSERT_EQ(test.error, "");
      for (double p : test.value->p_values) {
        ++tests;
        for (int l = 0; l < 3; ++l) at_most[l] += p <= kLevels[l] + 1e-12;
      }
    }
    for (int l = 0; l < 3; ++l) {
      const double share = static_cast<double>(at_most[l]) / tests;
      const double se = std::sqrt(kLevels[l] * (1 - kLevels[l]) / kSeries);
      EXPECT_NEAR(share, kLevels[l], 3 * se)
          << (cauchy ? "Cauchy" : "normal") << " a=" << kLevels[l];
    }
  }
}

TEST(PermutationTests, RefuseSeriesWithoutAResult) {
  const Simulation simulation{9, 1, 1, {}, {}};
  const std::vector<double> constant(20, 3.0);
  const std::vector<double> short_series = {1, 2, 3};
  IxoSettings settings;
  EXPECT_NE(PermutationTestIxo(constant, settings, simulation).error.find("constant"),
            std::string::npos);
  EXPECT_NE(PermutationTestIxo(short_series, settings, simulation).error.find("needs at least 11"),
            std::string::npos);
  const double eps[] = {1.0};
  EXPECT_NE(PermutationTestBds(constant, 3, eps, simulation).error.find("constant"),
            std::string::npos);
  // m = 2 with c = 1 (every pair close): K = c^2, so the variance 4 (K - c^2)^2 is 0.
  const Result<BdsPermutationTest> wide =
      PermutationTestBds(Normal(50, 2), 2, std::vector<double>{100.0}, simulation);
  ASSERT_EQ(wide.error, "");
  ASSERT_EQ(wide.value->values.size(), 1u);
  EXPECT_FALSE(wide.value->values[0].bds.has_value());
  EXPECT_FALSE(wide.value->values[0].p_permutation.has_value());
}

}  // namespace
}  // namespace ixo

#include "permutation_tests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bds.h"
#include "correlation_integrals.h"
#include "grid.h"
#include "monte_carlo.h"
#include "normal_series.h"
#include "pair_counts.h"
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

TEST(PermutationTestIxo, CopiesWithEqualCountsHaveEqualStatistics) {
  // A three-valued series (0.1, 0.45, 0.8: sums of them depend on the order):
  // many orderings share their counts of close pairs, and their statistics
  // must then be the same double, or "T* = T" would depend on the last bit of
  // a sum taken in another order. The copies are made again here (the stream
  // of (seed, r), Fisher-Yates) and counted on the series' own grid.
  RandomStream values(3, 0);
  std::vector<double> x(60);
  for (double& v : x) v = 0.1 + 0.35 * static_cast<double>(values.Below(3));
  IxoSettings settings;
  settings.max_dimension = 4;
  const Simulation simulation{400, 11, 0, {}, {}};
  const Result<IxoPermutationTest> result = PermutationTestIxo(x, settings, simulation);
  ASSERT_TRUE(result.ok()) << result.error;
  const IxoPermutationTest& test = *result.value;
  ASSERT_EQ(test.null_distribution.size(), 3u);
  const Statistics s = Describe(x);
  const DistanceGrid grid(settings.eps_low, settings.eps_high, s.sd, settings.subint);
  std::vector<double> distances;
  for (int k = 0; k <= settings.subint; ++k) distances.push_back(grid.Point(k));
  std::map<std::vector<std::uint64_t>, std::vector<int>> by_counts;  // per m: copies
  for (int r = 0; r < simulation.replications; ++r) {
    std::vector<double> copy = x;
    RandomStream stream(simulation.seed, static_cast<std::uint64_t>(r));
    Shuffle(copy, stream);
    const PairCounts counts = CountClosePairs(copy, distances, settings.max_dimension);
    for (int m = 2; m <= settings.max_dimension; ++m) {
      std::vector<std::uint64_t> key = {static_cast<std::uint64_t>(m)};
      for (int k = 0; k <= settings.subint; ++k) key.push_back(counts.At(m, k));
      by_counts[key].push_back(r);
    }
  }
  int twins = 0;
  for (const auto& [key, copies] : by_counts) {
    const std::vector<double>& statistics = test.null_distribution[key[0] - 2];
    for (int r : copies) {
      // NaN for a copy without a value, which its twins lack as well.
      const bool same = statistics[r] == statistics[copies[0]] ||
                        (std::isnan(statistics[r]) && std::isnan(statistics[copies[0]]));
      EXPECT_TRUE(same) << "m " << key[0] << ": copies " << copies[0] << " and " << r << ": "
                        << statistics[copies[0]] << " against " << statistics[r];
      twins += r != copies[0] && !std::isnan(statistics[r]);
    }
  }
  EXPECT_GT(twins, 10) << "too few copies share their counts to test anything";
}

TEST(PermutationTestIxo, NoValueHasNoPValueAndCopiesWithoutOneAreLeftOut) {
  // Three values have one usable grid point at most; 17 values none from
  // m = 3 up; at n = 40 and m = 8 some copies have no value where the series
  // has one. A dimension without a value has no p-value, and a copy without
  // one stands on neither side and is not counted in R.
  struct Case {
    std::vector<double> series;
    int max_dimension;
  };
  const Case cases[] = {{{1, 2, 3}, 2}, {Normal(17, 2), 10}, {Normal(40, 6), 8}};
  int without = 0;
  int copies_without = 0;
  for (const Case& c : cases) {
    IxoSettings settings;
    settings.max_dimension = c.max_dimension;
    const Result<IxoPermutationTest> result =
        PermutationTestIxo(c.series, settings, {199, 7, 0, {}, {}});
    ASSERT_TRUE(result.ok()) << c.series.size() << ": " << result.error;
    const IxoPermutationTest& test = *result.value;
    ASSERT_EQ(test.p_values.size(), test.observed.size());
    for (std::size_t i = 0; i < test.observed.size(); ++i) {
      const DimensionSlope& d = test.observed[i];
      const std::string what =
          std::to_string(c.series.size()) + " values, m " + std::to_string(d.dimension);
      std::vector<double> defined;
      for (double t : test.null_distribution[i])
        if (!std::isnan(t)) defined.push_back(t);
      copies_without += static_cast<int>(test.null_distribution[i].size() - defined.size());
      if (!HasIxoValue(d)) {
        ++without;
        EXPECT_FALSE(test.p_values[i].has_value()) << what;
        continue;
      }
      ASSERT_TRUE(test.p_values[i].has_value()) << what;
      EXPECT_EQ(*test.p_values[i], MonteCarloPValue(d.slope, defined)) << what;
    }
  }
  EXPECT_GE(without, 8) << "the three values and m = 4..10 of the 17";
  EXPECT_GT(copies_without, 0);
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
    EXPECT_FALSE(v.p_normal.has_value()) << v.m << " " << v.eps << ": 300 values, n / m < 200";
    EXPECT_FALSE(v.p_permutation.has_value());
  }
  release_tables();
}

TEST(PermutationTests, AnyThreadCountGivesTheSameResults) {
  const std::vector<double> x = Normal(120, 4);
  IxoSettings settings;
  settings.max_dimension = 4;
  const double eps[] = {1.0};
  // Without and with the sequential rule (which stops this series early).
  for (const int sequential : {0, 2}) {
    std::vector<std::optional<double>> first_ixo;
    std::vector<double> first_bds;
    for (int threads : {1, 2, 3}) {
      Simulation simulation{40, 77, threads, {}, {}};
      simulation.sequential = sequential;
      const Result<IxoPermutationTest> ixo_result = PermutationTestIxo(x, settings, simulation);
      const Result<BdsPermutationTest> bds_result = PermutationTestBds(x, 3, eps, simulation);
      ASSERT_EQ(ixo_result.error + bds_result.error, "");
      const IxoPermutationTest& ixo = *ixo_result.value;
      const BdsPermutationTest& bds = *bds_result.value;
      std::vector<std::optional<double>> ixo_p = ixo.p_values;
      ixo_p.insert(ixo_p.end(), ixo.p_adjusted.begin(), ixo.p_adjusted.end());
      ixo_p.insert(ixo_p.end(), {ixo.p_overall, static_cast<double>(ixo.drawn)});
      std::vector<double> bds_p = {bds.p_overall.value_or(-1), static_cast<double>(bds.drawn)};
      for (const BdsValue& v : bds.values) {
        bds_p.push_back(v.p_permutation.value_or(-1));
        bds_p.push_back(v.p_adjusted.value_or(-1));
      }
      if (first_ixo.empty()) {
        first_ixo = ixo_p;
        first_bds = bds_p;
        const bool stopped_early = ixo.drawn < 40;
        EXPECT_EQ(stopped_early, sequential > 0) << ixo.drawn;
        continue;
      }
      EXPECT_EQ(ixo_p, first_ixo) << threads << " sequential " << sequential;
      EXPECT_EQ(bds_p, first_bds) << threads << " sequential " << sequential;
    }
    EXPECT_EQ(first_ixo.size(), 3u * 2 + 2);
  }
}

TEST(PermutationTests, ChaoticSeriesIsRejected) {
  // The logistic map: deterministic, so far from every permuted copy.
  const std::vector<double> x = Logistic(120);
  IxoSettings settings;
  settings.max_dimension = 5;
  const double eps[] = {0.5, 1.0};
  Simulation simulation{249, kDefaultSeed, 0, {}, {}};
  const Result<IxoPermutationTest> ixo_result = PermutationTestIxo(x, settings, simulation);
  ASSERT_EQ(ixo_result.error, "");
  const IxoPermutationTest& ixo = *ixo_result.value;
  for (std::size_t i = 0; i < ixo.p_values.size(); ++i) {
    EXPECT_LT(ixo.p_values[i].value_or(1), 0.01) << ixo.observed[i].dimension;
    EXPECT_LT(ixo.p_adjusted[i].value_or(1), 0.01) << ixo.observed[i].dimension;
    EXPECT_GE(ixo.p_adjusted[i], ixo.p_values[i]) << ixo.observed[i].dimension;
  }
  // Far beyond every permutation in every dimension: the overall p-value is
  // the smallest raw one, 2 / (R + 1), although rows beyond the others in one
  // dimension have that p-value too.
  EXPECT_EQ(ixo.p_overall, *std::min_element(ixo.p_values.begin(), ixo.p_values.end()));
  // A series the rule does not stop for gets all R and the fixed-R p-values.
  simulation.sequential = 10;
  const Result<IxoPermutationTest> sequential = PermutationTestIxo(x, settings, simulation);
  ASSERT_TRUE(sequential.ok()) << sequential.error;
  EXPECT_EQ(sequential.value->drawn, 249);
  EXPECT_EQ(sequential.value->p_values, ixo.p_values);
  EXPECT_EQ(sequential.value->p_adjusted, ixo.p_adjusted);
  EXPECT_EQ(sequential.value->null_distribution, ixo.null_distribution);
  simulation.sequential = 0;
  const Result<BdsPermutationTest> bds = PermutationTestBds(x, 3, eps, simulation);
  ASSERT_EQ(bds.error, "");
  for (const BdsValue& v : bds.value->values) {
    EXPECT_LT(v.p_permutation.value_or(1), 0.01) << v.m << " " << v.eps;
    EXPECT_FALSE(v.p_normal.has_value()) << v.m << " " << v.eps << ": 120 values, n / m < 200";
  }
}

TEST(PermutationTestBds, NormalPValueOnlyWhereTheNormalLawServes) {
  // 1000 i.i.d. values: within 0.5 to 2 sd and up to m = 5 the normal
  // p-value is there, erfc(|BDS| / sqrt 2); at 5 sd (a handful of pairs
  // farther apart than eps, BDS of -7 to -12 for 500 values) and from m = 6 up
  // it is not. The permutation p-value is there everywhere.
  const std::vector<double> x = Normal(1000, 5);
  const double eps[] = {0.25, 0.5, 1.0, 2.0, 2.5, 5.0};
  const Result<BdsPermutationTest> test =
      PermutationTestBds(x, 6, eps, {19, kDefaultSeed, 0, {}, {}});
  ASSERT_TRUE(test.ok()) << test.error;
  for (const BdsValue& v : test.value->values) {
    const std::string what = "m " + std::to_string(v.m) + " eps " + std::to_string(v.eps);
    ASSERT_TRUE(v.bds.has_value()) << what;
    EXPECT_TRUE(v.p_permutation.has_value()) << what;
    const bool holds = v.m <= 5 && v.eps >= 0.5 && v.eps <= 2;
    ASSERT_EQ(v.p_normal.has_value(), holds) << what;
    if (holds) {
      EXPECT_DOUBLE_EQ(*v.p_normal, std::erfc(std::fabs(*v.bds) / std::sqrt(2.0))) << what;
    }
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
    int overall_at_most[3] = {};
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
      for (const std::optional<double> p : test.value->p_values) {
        if (!p) continue;  // a Cauchy series whose counts are flat over the grid: no value
        ++tests;
        for (int l = 0; l < 3; ++l) at_most[l] += *p <= kLevels[l] + 1e-12;
      }
      for (int l = 0; l < 3; ++l)
        overall_at_most[l] += *test.value->p_overall <= kLevels[l] + 1e-12;
    }
    for (int l = 0; l < 3; ++l) {
      const double share = static_cast<double>(at_most[l]) / tests;
      const double se = std::sqrt(kLevels[l] * (1 - kLevels[l]) / kSeries);
      EXPECT_NEAR(share, kLevels[l], 3 * se)
          << (cauchy ? "Cauchy" : "normal") << " a=" << kLevels[l];
      // The overall test of the two dimensions: at most nominal.
      EXPECT_LE(static_cast<double>(overall_at_most[l]) / kSeries, kLevels[l] + 3 * se)
          << (cauchy ? "Cauchy" : "normal") << " overall a=" << kLevels[l];
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

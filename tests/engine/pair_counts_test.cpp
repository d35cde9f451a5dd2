#include "pair_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "correlation_integrals.h"

namespace ixo {
namespace {

// The plain definition: every pair of j-histories, every coordinate, every
// grid distance.
PairCounts DirectCount(const std::vector<double>& x, const std::vector<double>& grid, int m) {
  const int n = static_cast<int>(x.size());
  PairCounts counts(m, static_cast<int>(grid.size()));
  for (int r = 0; r < n; ++r)
    for (int s = r + 1; s < n; ++s) {
      double farthest = 0;
      for (int j = 1; j <= m && s + j - 1 < n; ++j) {
        farthest = std::max(farthest, std::fabs(x[r + j - 1] - x[s + j - 1]));
        for (std::size_t k = 0; k < grid.size(); ++k)
          if (farthest <= grid[k]) ++counts.At(j, static_cast<int>(k));
      }
    }
  return counts;
}

std::string Describe(const std::vector<double>& values) {
  std::ostringstream out;
  out.precision(17);
  for (double v : values) out << v << ' ';
  return out.str();
}

void ExpectSameCounts(const PairCounts& expected, const PairCounts& actual,
                      const std::string& what) {
  ASSERT_EQ(expected.max_dimension(), actual.max_dimension()) << what;
  ASSERT_EQ(expected.grid_points(), actual.grid_points()) << what;
  for (int j = 1; j <= expected.max_dimension(); ++j)
    for (int k = 0; k < expected.grid_points(); ++k)
      ASSERT_EQ(expected.At(j, k), actual.At(j, k)) << "j=" << j << " k=" << k << "\n" << what;
}

// A count of fewer dimensions than every one fills its rows (from 2 up, or the
// last alone) as the whole count does and leaves the rows below them 0.
void ExpectSameRows(const PairCounts& expected, const PairCounts& actual, Dimensions which,
                    const std::string& what) {
  const int m = expected.max_dimension();
  ASSERT_EQ(m, actual.max_dimension()) << what;
  const int first = which == Dimensions::kTopOnly ? m : which == Dimensions::kAboveOne ? 2 : 1;
  const char* name = which == Dimensions::kTopOnly ? "top only" : "from 2";
  for (int k = 0; k < expected.grid_points(); ++k) {
    for (int j = 1; j <= m; ++j) {
      if (j >= first || j == m)
        ASSERT_EQ(expected.At(j, k), actual.At(j, k)) << name << ", j=" << j << " k=" << k << "\n"
                                                      << what;
      else
        ASSERT_EQ(actual.At(j, k), 0u) << name << ", j=" << j << "\n" << what;
    }
  }
}

void ExpectSameTopRow(const PairCounts& expected, const PairCounts& actual,
                      const std::string& what) {
  ExpectSameRows(expected, actual, Dimensions::kTopOnly, what);
}

// Every counting path this processor runs; each must give the same counts.
std::vector<PairCountPath> Paths() {
  std::vector<PairCountPath> paths;
  for (PairCountPath path :
       {PairCountPath::kPortable, PairCountPath::kAvx2, PairCountPath::kAvx512})
    if (PairCountPathSupported(path)) paths.push_back(path);
  return paths;
}

std::string Name(PairCountPath path) {
  switch (path) {
    case PairCountPath::kPortable:
      return "portable";
    case PairCountPath::kAvx2:
      return "avx2";
    case PairCountPath::kAvx512:
      return "avx512";
    default:
      return "auto";
  }
}

PairCounts CountOn(PairCountPath path, const std::vector<double>& x,
                   const std::vector<double>& grid, int m, Dimensions which, int threads = 1) {
  PairCountWorkspace workspace(path, threads);
  return workspace.Count(x, grid, m, which);
}

// Deterministic test data: raw 64-bit draws turned into numbers by our own
// arithmetic, so that every platform sees the same series.
class Draws {
 public:
  explicit Draws(std::uint64_t seed) : engine_(seed) {}
  int Int(int below) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(below)); }
  double Unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

 private:
  std::mt19937_64 engine_;
};

// The engine's grid: geometric in `points` steps from low to high, through
// powers of 3 as the driver computes it.
std::vector<double> GeometricGrid(double low, double high, int subint) {
  const double lower = std::log(low) / std::log(3.0);
  const double upper = std::log(high) / std::log(3.0);
  std::vector<double> grid;
  for (int k = 0; k <= subint; ++k)
    grid.push_back(std::pow(3.0, lower + k * (upper - lower) / subint));
  return grid;
}

struct SeriesCase {
  const char* name;
  double step;  // lattice step, 0 for continuous values
  int levels;   // lattice values 0..levels-1
};

TEST(CountClosePairs, MatchesDirectCountOnRandomSeries) {
  const SeriesCase kinds[] = {
      {"binary lattice", 0.25, 6}, {"decimal lattice", 0.1, 9}, {"thirds", 1.0 / 3, 5},
      {"two values", 3.0, 2},      {"continuous", 0, 0},
  };
  Draws draws(20240611);
  int cases = 0;
  for (const SeriesCase& kind : kinds)
    for (int round = 0; round < 14; ++round) {
      const int n = round < 4 ? 2 + round : 5 + draws.Int(round < 10 ? 60 : 220);
      const int m = 1 + draws.Int(16);
      std::vector<double> x(n);
      for (double& v : x)
        v = kind.step > 0 ? kind.step * draws.Int(kind.levels) : 4 * draws.Unit() - 2;

      // Upward, downward and flat engine grids with 2 or 41 points, and grids
      // of lattice multiples that meet the differences exactly.
      std::vector<std::vector<double>> grids;
      const int subint = round % 2 == 0 ? 40 : 1;
      const double sd = kind.step > 0 ? kind.step * kind.levels / 3 : 1.1;
      grids.push_back(GeometricGrid(0.6 * sd, 1.9 * sd, subint));
      grids.push_back(GeometricGrid(1.9 * sd, 0.25 * sd, subint));
      grids.push_back(GeometricGrid(0.5 * sd, 0.5 * sd, subint));
      if (kind.step > 0) {
        std::vector<double> exact;
        for (int i = kind.levels; i >= 0; --i) exact.push_back(kind.step * i);
        for (int i = 0; i < kind.levels; i += 2) exact.push_back(kind.step * i);
        grids.push_back(exact);
      }
      for (const auto& grid : grids) {
        const std::string what = std::string(kind.name) + " m=" + std::to_string(m) +
                                 "\nseries: " + Describe(x) + "\ngrid: " + Describe(grid);
        const PairCounts expected = DirectCount(x, grid, m);
        // One to three threads sharing the lags, even of short series.
        const int threads = 1 + round % 3;
        ExpectSameCounts(expected, CountClosePairs(x, grid, m, Dimensions::kAll, threads), what);
        for (Dimensions which : {Dimensions::kAboveOne, Dimensions::kTopOnly})
          ExpectSameRows(expected, CountClosePairs(x, grid, m, which, threads), which, what);
        for (PairCountPath path : Paths()) {
          ExpectSameCounts(expected, CountOn(path, x, grid, m, Dimensions::kAll, threads),
                           Name(path) + " " + what);
          for (Dimensions which : {Dimensions::kAboveOne, Dimensions::kTopOnly})
            ExpectSameRows(expected, CountOn(path, x, grid, m, which), which,
                           Name(path) + " " + what);
        }
        ++cases;
      }
    }
  EXPECT_GT(cases, 250);
}

TEST(CountClosePairs, GivesTheKernelsIntegralsBitForBit) {
  // The kernel's C_j at every grid point against C_j from the counts, for
  // series with ties and differences equal to grid distances.
  Draws draws(5150);
  int compared = 0;
  for (int round = 0; round < 60; ++round) {
    const int n = round < 6 ? 2 + round : 8 + draws.Int(round < 40 ? 70 : 300);
    const int m = std::min(1 + draws.Int(16), n - 1);
    const double step = round % 3 == 0 ? 0.25 : (round % 3 == 1 ? 0.1 : 0);
    std::vector<double> x(n);
    for (double& v : x) v = step > 0 ? step * draws.Int(7) : draws.Unit() * 3;
    std::vector<double> grid;
    switch (round % 4) {
      case 0:
        grid = GeometricGrid(0.3, 1.5, 40);
        break;
      case 1:
        grid = GeometricGrid(1.5, 0.2, round % 8 == 1 ? 1 : 40);
        break;
      case 2:
        grid = GeometricGrid(0.7, 0.7, 40);
        break;
      default:
        for (int i = 1; i <= 7; ++i) grid.push_back((step > 0 ? step : 0.3) * i);
    }
    const PairCounts counts = CountClosePairs(x, grid, m);
    for (std::size_t k = 0; k < grid.size(); ++k) {
      const KernelResult kernel = correlation_integrals(x, m, grid[k]);
      for (int j = 1; j <= m; ++j) {
        const double fast = CorrelationIntegralFromCount(counts.At(j, static_cast<int>(k)), n, j);
        ASSERT_EQ(kernel.integrals[j], fast)
            << "j=" << j << " eps=" << grid[k] << " m=" << m << "\nseries: " << Describe(x);
        ++compared;
      }
    }
  }
  release_tables();
  EXPECT_GT(compared, 10000);
}

TEST(CountClosePairs, CountsTheWorkedExample) {
  // 1, 2, 3, 10 at eps = 1: value pairs (0,1) and (1,2) are close; of the
  // 2-histories only those at 0 and 1; no 3-histories.
  const std::vector<double> x = {1, 2, 3, 10};
  const PairCounts counts = CountClosePairs(x, std::vector<double>{1.0}, 3);
  EXPECT_EQ(counts.At(1, 0), 2u);
  EXPECT_EQ(counts.At(2, 0), 1u);
  EXPECT_EQ(counts.At(3, 0), 0u);
  EXPECT_EQ(CorrelationIntegralFromCount(counts.At(2, 0), 4, 2), 1.0 / 3);
  EXPECT_EQ(CorrelationIntegralFromCount(counts.At(1, 0), 4, 1), 1.0 / 3);
}

TEST(CountClosePairs, HandlesOddGridPoints) {
  // Negative, NaN and signed zero distances, infinity, repeats, and a grid
  // whose points sit one ulp apart inside a vast range (no bucket table).
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<std::vector<double>> grids = {
      {-1.0, nan, -0.0, 0.0, 0.5, 0.5, inf},
      {1.0, std::nextafter(1.0, 2.0), 1e300, 1e-300, 0.75},
      {2.0, 2.0, 2.0},
      // Thousands of buckets: too many for a byte permute of the table.
      {1.0, 1.0 + 1.0 / 1024, 4.0, 0.3},
      // A byte permute of few buckets, where saturation clamps the offsets.
      GeometricGrid(0.3, 1.2, 40),
  };
  Draws draws(7);
  std::vector<double> x(90);
  for (double& v : x) v = 0.25 * draws.Int(8);
  x[10] = 1.0;
  x[40] = 2.0;
  x[41] = std::nextafter(1.0, 2.0) + 1.0;
  // Differences that overflow to infinity, lie far beyond every distance or
  // far below the smallest (subnormal), beside the ordinary ones.
  std::vector<double> extreme = x;
  for (int t = 0; t < 90; t += 9) extreme[t] = t % 2 == 0 ? 1.5e308 : -1.5e308;
  for (int t = 4; t < 90; t += 9) extreme[t] = t % 2 == 0 ? 1e5 : 4e-320;
  for (const auto& series : {x, extreme}) {
    for (const auto& grid : grids) {
      const PairCounts expected = DirectCount(series, grid, 5);
      const std::string of = "grid: " + Describe(grid) + "\nseries: " + Describe(series);
      ExpectSameCounts(expected, CountClosePairs(series, grid, 5), of);
      for (PairCountPath path : Paths()) {
        const std::string what = Name(path) + " " + of;
        ExpectSameCounts(expected, CountOn(path, series, grid, 5, Dimensions::kAll), what);
        ExpectSameTopRow(expected, CountOn(path, series, grid, 5, Dimensions::kTopOnly), what);
      }
    }
  }
}

TEST(CountClosePairs, SplitsGridsOfManyDistinctPoints) {
  // More distinct distances than one byte ranks: counted in several groups.
  Draws draws(99);
  std::vector<double> x(70);
  for (double& v : x) v = draws.Unit();
  for (int subint : {251, 252, 253, 600}) {
    const std::vector<double> grid = GeometricGrid(0.01, 1.0, subint);
    const PairCounts expected = DirectCount(x, grid, 4);
    const std::string what = "subint=" + std::to_string(subint);
    for (PairCountPath path : Paths()) {
      ExpectSameCounts(expected, CountOn(path, x, grid, 4, Dimensions::kAll), Name(path) + what);
      ExpectSameTopRow(expected, CountOn(path, x, grid, 4, Dimensions::kTopOnly),
                       Name(path) + what);
    }
  }
}

TEST(CountClosePairs, ThreadsDoNotChangeCounts) {
  Draws draws(3);
  std::vector<double> x(800);
  for (double& v : x) v = 0.1 * draws.Int(30);
  const std::vector<double> grid = GeometricGrid(0.3, 2.0, 40);
  const PairCounts one = CountClosePairs(x, grid, 16, Dimensions::kAll, 1);
  for (int threads : {2, 0}) {
    const std::string what = "threads=" + std::to_string(threads);
    ExpectSameCounts(one, CountClosePairs(x, grid, 16, Dimensions::kAll, threads), what);
    ExpectSameTopRow(one, CountClosePairs(x, grid, 16, Dimensions::kTopOnly, threads), what);
  }
  const std::vector<double> head(x.begin(), x.begin() + 300);
  ExpectSameCounts(DirectCount(head, grid, 16), CountClosePairs(head, grid, 16), "head of 300");
}

TEST(CountClosePairs, PathsAgreeOnLongLags) {
  // Lags longer than the AVX-512 path's tiles and rank blocks, with ties.
  Draws draws(11);
  std::vector<double> x(3000);
  for (double& v : x) v = 0.125 * draws.Int(40);
  const std::vector<double> grid = GeometricGrid(0.4, 2.5, 40);
  const PairCounts portable = CountOn(PairCountPath::kPortable, x, grid, 10, Dimensions::kAll, 2);
  for (PairCountPath path : Paths()) {
    ExpectSameCounts(portable, CountOn(path, x, grid, 10, Dimensions::kAll, 2), Name(path));
    ExpectSameTopRow(portable, CountOn(path, x, grid, 10, Dimensions::kTopOnly, 2), Name(path));
  }
}

TEST(PairCountWorkspace, CountsEachSeriesAsAFreshCall) {
  // One workspace through longer and shorter series, the same grid twice,
  // other grids and dimensions: nothing is left over from the call before.
  Draws draws(77);
  const std::vector<std::vector<double>> grids = {GeometricGrid(0.3, 1.2, 40),
                                                  GeometricGrid(0.3, 1.2, 40),
                                                  GeometricGrid(0.05, 1.0, 260),
                                                  {0.5},
                                                  GeometricGrid(0.3, 1.2, 40)};
  // The automatic workspace changes path where the series' length crosses
  // kAvx512MinLength (round 8) and back, and for the top dimension alone.
  std::vector<PairCountWorkspace> workspaces;
  for (PairCountPath path : Paths()) {
    workspaces.emplace_back(path);
    EXPECT_EQ(workspaces.back().path(30), path);
  }
  workspaces.emplace_back(PairCountPath::kAuto);
  for (std::size_t round = 0; round < 10; ++round) {
    std::vector<double> x(round == 8 ? kAvx512MinLength : round % 2 == 0 ? 120 + 30 * round : 30);
    for (double& v : x) v = 0.1 * draws.Int(20);
    const std::vector<double>& grid = grids[round % grids.size()];
    const int m = 1 + static_cast<int>(round * 5 % 16);
    const Dimensions which = round % 3 == 2   ? Dimensions::kTopOnly
                             : round % 3 == 1 ? Dimensions::kAboveOne
                                              : Dimensions::kAll;
    const PairCounts expected = DirectCount(x, grid, m);
    for (PairCountWorkspace& workspace : workspaces) {
      const std::string what =
          Name(workspace.path(x.size(), which)) + " round " + std::to_string(round);
      const PairCounts& counts = workspace.Count(x, grid, m, which);
      ExpectSameRows(expected, counts, which, what);
    }
  }
}

TEST(PairCountPath, NeverResolvesToAPathTheProcessorLacks) {
  for (PairCountPath path : {PairCountPath::kAuto, PairCountPath::kPortable, PairCountPath::kAvx2,
                             PairCountPath::kAvx512}) {
    for (std::size_t n : {std::size_t{100}, kAvx512MinLength}) {
      for (Dimensions which : {Dimensions::kAll, Dimensions::kTopOnly}) {
        const PairCountPath resolved = ResolvePairCountPath(path, n, which);
        EXPECT_NE(resolved, PairCountPath::kAuto) << Name(path) << " n=" << n;
        EXPECT_TRUE(PairCountPathSupported(resolved)) << Name(path) << " n=" << n;
        if (PairCountPathSupported(path) && path != PairCountPath::kAuto) {
          EXPECT_EQ(resolved, path) << Name(path) << " n=" << n;
        }
      }
    }
  }
  EXPECT_TRUE(PairCountPathSupported(PairCountPath::kPortable));
}

TEST(PairCountPath, NamedByTheEnvironmentsWordsOnly) {
  const struct {
    const char* name;
    PairCountPath path;
  } cases[] = {{"portable", PairCountPath::kPortable}, {"avx2", PairCountPath::kAvx2},
               {"avx512", PairCountPath::kAvx512},     {"", PairCountPath::kAuto},
               {"AVX2", PairCountPath::kAuto},         {"avx2 ", PairCountPath::kAuto},
               {"auto", PairCountPath::kAuto},         {nullptr, PairCountPath::kAuto}};
  for (const auto& c : cases) {
    EXPECT_EQ(PairCountPathNamed(c.name), c.path) << (c.name ? c.name : "(null)");
  }
}

TEST(PairCountPath, TheAutomaticChoiceIgnoresTheEnvironment) {
  // The library's callers (a Python or R process among them) choose the path;
  // the variable is for the programs' main alone.
  const char* before = std::getenv("IXO_PAIR_COUNT_PATH");
  const std::string saved = before ? before : "";
  const struct {
    std::size_t n;
    Dimensions which;
  } cases[] = {
      {100, Dimensions::kAll}, {kAvx512MinLength, Dimensions::kAll}, {100, Dimensions::kTopOnly}};
  std::vector<PairCountPath> unset;
  unsetenv("IXO_PAIR_COUNT_PATH");
  for (const auto& c : cases)
    unset.push_back(ResolvePairCountPath(PairCountPath::kAuto, c.n, c.which));
  for (const char* name : {"portable", "avx2", "avx512"}) {
    setenv("IXO_PAIR_COUNT_PATH", name, 1);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      EXPECT_EQ(ResolvePairCountPath(PairCountPath::kAuto, cases[i].n, cases[i].which), unset[i])
          << name << " n=" << cases[i].n;
      EXPECT_EQ(PairCountWorkspace().path(cases[i].n, cases[i].which), unset[i])
          << name << " n=" << cases[i].n;
    }
  }
  if (before) {
    setenv("IXO_PAIR_COUNT_PATH", saved.c_str(), 1);
  } else {
    unsetenv("IXO_PAIR_COUNT_PATH");
  }
}

TEST(CountClosePairs, ShortSeriesHaveNoPairsBeyondTheirLength) {
  for (int n = 0; n <= 3; ++n) {
    const std::vector<double> x(n, 1.0);
    const PairCounts counts = CountClosePairs(x, std::vector<double>{1.0, 0.0}, 4);
    for (int j = 1; j <= 4; ++j) {
      const int histories = std::max(0, n - j + 1);
      const std::uint64_t all =
          static_cast<std::uint64_t>(histories) * std::max(0, histories - 1) / 2;
      EXPECT_EQ(counts.At(j, 0), all) << "n=" << n << " j=" << j;
      EXPECT_EQ(counts.At(j, 1), all) << "n=" << n << " j=" << j;
    }
  }
}

}  // namespace
}  // namespace ixo

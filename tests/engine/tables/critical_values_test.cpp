#include "tables/critical_values.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace ixo {
namespace {

constexpr std::array<double, 8> kPercentiles = {0.5, 1, 2.5, 5, 95, 97.5, 99, 99.5};

TEST(CriticalValue, KnownEntries) {
  struct Case {
    int range, m, size_class;
    double percentile, expected;
  };
  const Case cases[] = {
      {0, 2, 0, 0.5, 1.544}, {3, 10, 2, 99.5, 8.153}, {1, 10, 0, 99.5, 13.747},
      {0, 7, 0, 1, 5.250},   {1, 9, 0, 99, 10.087},   {2, 10, 2, 99.5, 8.937},
      {3, 2, 1, 5, 1.750},   {2, 6, 1, 97.5, 5.378},  {1, 2, 2, 95, 1.909},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CriticalValue(c.range, c.m, c.size_class, c.percentile), c.expected)
        << "range " << c.range << " m " << c.m << " class " << c.size_class << " pct "
        << c.percentile;
  }
}

TEST(CriticalValue, NominalSizesSelectTheSameTables) {
  const std::array<std::array<int, 2>, 3> pairs = {{{0, 500}, {1, 1000}, {2, 2500}}};
  for (int range = 0; range < 4; ++range) {
    for (int m = 2; m <= 10; ++m) {
      for (const auto& [index, size] : pairs) {
        for (double p : kPercentiles) {
          EXPECT_EQ(CriticalValue(range, m, index, p), CriticalValue(range, m, size, p))
              << range << " " << m << " " << size << " " << p;
        }
      }
    }
  }
}

TEST(CriticalValue, NothingHeldGivesZero) {
  struct Case {
    int range, m, size_class;
    double percentile;
  };
  const Case cases[] = {
      {4, 2, 0, 0.5},  {-1, 2, 0, 0.5}, {0, 1, 0, 0.5}, {0, 11, 0, 0.5},
      {0, -2, 0, 0.5}, {0, 0, 0, 0.5},  {0, 2, 3, 0.5}, {0, 2, -1, 0.5},
      {0, 2, 750, 5},  {0, 2, 0, 0.25}, {0, 2, 0, 50},  {0, 2, 0, 2.5000001},
      {0, 2, 0, 0},    {0, 2, 0, -5},   {0, 2, 0, NAN}, {3, 10, 2, 99.49999999},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CriticalValue(c.range, c.m, c.size_class, c.percentile), 0.0)
        << "range " << c.range << " m " << c.m << " class " << c.size_class << " pct "
        << c.percentile;
  }
  for (int range = 0; range < 4; ++range) {
    for (int m = 2; m <= 10; ++m) {
      for (double p : kPercentiles) EXPECT_EQ(CriticalValue(range, m, 3, p), 0.0);
    }
  }
}

TEST(CriticalValue, EveryRowRisesWithThePercentile) {
  for (int range = 0; range < 4; ++range) {
    for (int size_class = 0; size_class < 3; ++size_class) {
      for (int m = 2; m <= 10; ++m) {
        double previous = 0;
        for (double p : kPercentiles) {
          const double value = CriticalValue(range, m, size_class, p);
          EXPECT_GT(value, previous)
              << "range " << range << " class " << size_class << " m " << m << " pct " << p;
          previous = value;
        }
      }
    }
  }
}

// Every entry has three decimals; the sum in thousandths over all 864 entries
// matches the published table, which catches a mistyped digit anywhere.
TEST(CriticalValue, AllEntriesSumToThePublishedTotal) {
  long long thousandths = 0;
  int count = 0;
  for (int range = 0; range < 4; ++range) {
    for (int size_class = 0; size_class < 3; ++size_class) {
      for (int m = 2; m <= 10; ++m) {
        for (double p : kPercentiles) {
          const double value = CriticalValue(range, m, size_class, p);
          const double scaled = value * 1000;
          EXPECT_NEAR(scaled, std::round(scaled), 1e-6) << range << " " << size_class << " " << m;
          thousandths += std::llround(scaled);
          ++count;
        }
      }
    }
  }
  EXPECT_EQ(count, 864);
  EXPECT_EQ(thousandths, 4375060);
}

}  // namespace
}  // namespace ixo

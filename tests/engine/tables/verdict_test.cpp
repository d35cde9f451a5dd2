#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "tables/critical_values.h"

namespace ixo {
namespace {

// Boundaries of every band, checked on several tables: a value equal to a
// critical value is not rejected at that level; one just outside is.
TEST(Verdict, BandEdges) {
  struct Table {
    int range, m, size_class;
  };
  const Table tables[] = {{0, 2, 0}, {1, 10, 0}, {2, 6, 1}, {3, 10, 2}, {0, 7, 500}};
  struct Edge {
    double percentile;
    bool lower;  // lower tail: "outside" is below
    std::string at, outside;
  };
  const Edge edges[] = {
      {5, true, "do not reject", "reject at 10%"},  {95, false, "do not reject", "reject at 10%"},
      {2.5, true, "reject at 10%", "reject at 5%"}, {97.5, false, "reject at 10%", "reject at 5%"},
      {1, true, "reject at 5%", "reject at 2%"},    {99, false, "reject at 5%", "reject at 2%"},
      {0.5, true, "reject at 2%", "reject at 1%"},  {99.5, false, "reject at 2%", "reject at 1%"},
  };
  for (const Table& t : tables) {
    for (const Edge& e : edges) {
      const double critical = CriticalValue(t.range, t.m, t.size_class, e.percentile);
      ASSERT_NE(critical, 0);
      const double outside = std::nextafter(critical, e.lower ? -1e9 : 1e9);
      EXPECT_EQ(Verdict(critical, t.range, t.m, t.size_class), e.at)
          << "range " << t.range << " m " << t.m << " class " << t.size_class << " at pct "
          << e.percentile;
      EXPECT_EQ(Verdict(outside, t.range, t.m, t.size_class), e.outside)
          << "range " << t.range << " m " << t.m << " class " << t.size_class << " past pct "
          << e.percentile;
    }
  }
}

TEST(Verdict, KnownValues) {
  struct Case {
    double value;
    int range, m, size_class;
    std::string expected;
  };
  const Case cases[] = {
      {1.600, 0, 2, 0, "do not reject"},  // inside 1.573 .. 1.645
      {0.0, 0, 2, 0, "reject at 1%"},     // the engine's 0.000 for an unusable dimension
      {0.0, 1, 10, 2, "reject at 1%"},
      {1.657, 0, 2, 0, "reject at 2%"},  // exactly the 99.5th percentile
      {1.544, 0, 2, 0, "reject at 2%"},  // exactly the 0.5th percentile
      {100.0, 3, 5, 1, "reject at 1%"},
      {1.6, 0, 11, 0, "unknown"},
      {1.6, 0, 1, 0, "unknown"},
      {1.6, 4, 2, 0, "unknown"},
      {1.6, -1, 2, 0, "unknown"},
      {1.6, 0, 2, 3, "unknown"},
      {0.0, 0, 2, -1, "unknown"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Verdict(c.value, c.range, c.m, c.size_class), c.expected)
        << c.value << " range " << c.range << " m " << c.m << " class " << c.size_class;
  }
}

TEST(SampleSizeClass, Boundaries) {
  const struct {
    int count, size_class;
  } cases[] = {{0, 0}, {749, 0}, {750, 1}, {1749, 1}, {1750, 2}, {10000, 2}};
  for (const auto& c : cases) EXPECT_EQ(SampleSizeClass(c.count), c.size_class) << c.count;
}

TEST(SizeClassHint, OnlyBeyondTwentyPercentOfTheClass) {
  const struct {
    int n, size_class;
    bool hinted;
  } cases[] = {{500, 0, false},  {400, 0, false}, {600, 0, false}, {399, 0, true},
               {601, 0, true},   {100, 0, true},  {800, 1, false}, {1201, 1, true},
               {2000, 2, false}, {5000, 2, true}, {100, 3, false}, {0, 0, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(!SizeClassHint(c.n, c.size_class).empty(), c.hinted)
        << "n " << c.n << " class " << c.size_class;
  }
  EXPECT_EQ(SizeClassHint(300, 0),
            "The critical values are tabulated for n = 500; this series has n = 300, more than "
            "20 % away, so the verdicts may be unreliable. Choose \"permutation\" for an exact "
            "test at any n.");
}

TEST(TabulatedRange, OnlyTheTablesOwnSettings) {
  const struct {
    IxoSettings settings;
    int range;
  } cases[] = {
      {{0.60, 1.90, 40, 50, 10}, 0},       {{0.25, 1.00, 40, 50, 2}, 1},
      {{0.50, 1.50, 40, 50, 16}, 2},       {{0.25, 2.00, 40, 50, 10}, 3},
      {{0.60, 1.90, 41, 50, 10}, -1},      {{0.60, 1.90, 40, 49, 10}, -1},
      {{0.6000001, 1.90, 40, 50, 10}, -1}, {{1.90, 0.60, 40, 50, 10}, -1},
      {{0.25, 1.50, 40, 50, 10}, -1},
  };
  for (const auto& c : cases) {
    const IxoSettings& s = c.settings;
    EXPECT_EQ(TabulatedRange(s), c.range)
        << s.eps_low << ":" << s.eps_high << " subint " << s.subint << " cm " << s.cm_limit;
  }
}

TEST(TabulatedRangeText, TheTextsOfEachRange) {
  const struct {
    int range;
    char separator;
    const char* text;
  } cases[] = {{0, ':', "0.60:1.90"}, {1, ' ', "0.25 1.00"}, {2, ':', "0.50:1.50"},
               {3, ':', "0.25:2.00"}, {4, ':', ""},          {-1, ' ', ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(TabulatedRangeText(c.range, c.separator), c.text) << c.range;
    // The texts read back to the numbers the settings are matched against.
    if (*c.text == '\0') continue;
    EXPECT_EQ(std::strtod(kTabulatedRanges[c.range].low_text, nullptr),
              kTabulatedRanges[c.range].low)
        << c.range;
    EXPECT_EQ(std::strtod(kTabulatedRanges[c.range].high_text, nullptr),
              kTabulatedRanges[c.range].high)
        << c.range;
  }
}

TEST(PValueVerdict, LevelsBelowEachBound) {
  const struct {
    double p;
    const char* verdict;
  } cases[] = {{0, "reject at 1%"},      {0.0099, "reject at 1%"},       {0.01, "reject at 2%"},
               {0.0199, "reject at 2%"}, {0.02, "reject at 5%"},         {0.0499, "reject at 5%"},
               {0.05, "reject at 10%"},  {0.0999, "reject at 10%"},      {0.1, "do not reject"},
               {1, "do not reject"},     {std::nan(""), "do not reject"}};
  for (const auto& c : cases) EXPECT_EQ(PValueVerdict(c.p), c.verdict) << c.p;
}

}  // namespace

}  // namespace ixo

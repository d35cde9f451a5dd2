#include "analysis/verdict.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/critical_values.h"

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

}  // namespace
}  // namespace ixo

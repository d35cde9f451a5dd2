#include "analysis/histogram_bins.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace ixo {
namespace {

TEST(EdgesOfBin, NeighboursShareTheirEdge) {
  for (int bins = 1; bins <= kMaxBins; ++bins) {
    EXPECT_EQ(EdgesOfBin(1, bins).lo, -3.0) << bins;
    EXPECT_NEAR(EdgesOfBin(bins, bins).hi, 3.0, 1e-15) << bins;
    for (int k = 1; k < bins; ++k) {
      EXPECT_EQ(EdgesOfBin(k, bins).hi, EdgesOfBin(k + 1, bins).lo) << bins << " bins, bin " << k;
    }
  }
  EXPECT_NEAR(EdgesOfBin(5, 9).lo, -1.0 / 3, 1e-15);
  EXPECT_NEAR(EdgesOfBin(5, 9).hi, 1.0 / 3, 1e-15);
}

std::vector<double> Shares(const std::vector<double>& values, int bins) {
  std::vector<double> y;
  for (const ChartPoint& p : HistogramBars(values, bins)) y.push_back(p.y);
  return y;
}

TEST(HistogramBars, ValuesOnEdgesBelongToTheBinStartingThere) {
  // With 6 bins the edges are the whole numbers -3 .. 3.
  EXPECT_EQ(Shares({-3, -2, 0, 2.9999, 3}, 6), (std::vector<double>{0.2, 0.2, 0, 0.2, 0, 0.2}));
  EXPECT_EQ(Shares({-3.0001, 3, 7}, 6), (std::vector<double>(6, 0.0)));
  EXPECT_EQ(Shares({-3, 3}, 1), (std::vector<double>{0.5}));
  // The middle of 9 bins is [-1/3, 1/3), with the edges as computed.
  EXPECT_EQ(Shares({EdgesOfBin(5, 9).lo, 0, EdgesOfBin(5, 9).hi}, 9),
            (std::vector<double>{0, 0, 0, 0, 2.0 / 3, 1.0 / 3, 0, 0, 0}));
}

TEST(HistogramBars, PointsSitAtBinCentres) {
  const std::vector<ChartPoint> bars = HistogramBars(std::vector<double>{0.1}, 3);
  ASSERT_EQ(bars.size(), 3u);
  EXPECT_EQ(bars[0].x, -2);
  EXPECT_EQ(bars[1].x, 0);
  EXPECT_EQ(bars[2].x, 2);
  EXPECT_EQ(bars[1].y, 1);
  EXPECT_TRUE(HistogramBars(std::vector<double>{0.1}, 0).empty());
  EXPECT_TRUE(HistogramBars(std::vector<double>{}, 0).empty());
}

TEST(BinCountFromText, ReadsTheFieldsText) {
  struct Case {
    std::string text;
    int bins;
  };
  const Case cases[] = {
      {"9", 9},     {"1", 1},    {"50", 50},
      {" 12 ", 12}, {"+5", 5},   {"007", 7},
      {"51", 50},   {"999", 50}, {"99999999999999", 50},
      {"0", 0},     {"-3", 0},   {"-0", 0},
      {"", 1},      {" ", 1},    {"-", 1},
      {"abc", 1},   {"12a", 1},  {"1.5", 1},
      {"1,5", 1},   {"1e2", 1},  {"1 2", 1},
      {"\t9", 1},   {"- 9", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(BinCountFromText(c.text), c.bins) << "'" << c.text << "'";
}

TEST(BinCountCorrection, BringsNumbersOutsideTheRangeToTheNearerLimit) {
  struct Case {
    std::string text;
    std::optional<int> bins;
  };
  const Case cases[] = {
      {"99", 50},
      {"51", 50},
      {" 75 ", 50},
      {"+120", 50},
      {"99999999999", 50},
      {"0", 1},
      {"-3", 1},
      {"-0", 1},
      {"-99999999999", 1},
      {"1", std::nullopt},
      {"9", std::nullopt},
      {"50", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"12a", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BinCountCorrection(c.text), c.bins) << "'" << c.text << "'";
  }
}

}  // namespace
}  // namespace ixo

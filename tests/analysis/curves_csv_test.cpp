#include "analysis/curves_csv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ixo {
namespace {

// Two dimensions of three grid points as ixo_cli curves writes them: the first
// point of m = 2 is skipped, the first of m = 3 has no close pair.
const std::vector<std::string> kLines = {
    "m,k,eps,x,pairs,y,used",
    "2,0,0.5,-1.5,40,3.6888794541139363,0",
    "2,1,1,-0.8,300,5.703782474656201,1",
    "2,2,2,-0.1,900,6.802394763324311,1",
    "3,0,0.5,-1.5,0,,0",
    "3,1,1,-0.8,120,4.787491742782046,1",
    "3,2,2,-0.1,700,6.551080335043404,1",
    "",
    "m,slope,intercept,points",
    "2,1.57,6.9,2",
    "3,2.5,6.8,2",
};

std::string Joined(const std::vector<std::string>& lines, const char* end = "\n") {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

// The file with line `index` (0-based) replaced by `line`.
std::string WithLine(size_t index, const std::string& line) {
  std::vector<std::string> lines = kLines;
  lines.at(index) = line;
  return Joined(lines);
}

// The file without line `index`.
std::string WithoutLine(size_t index) {
  std::vector<std::string> lines = kLines;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(index));
  return Joined(lines);
}

TEST(ParseCurvesCsv, ReadsBothBlocks) {
  std::string without_last_end = Joined(kLines);
  without_last_end.pop_back();
  for (const std::string& text : {Joined(kLines), Joined(kLines, "\r\n"), without_last_end}) {
    const CurvesParse parsed = ParseCurvesCsv(text);
    ASSERT_TRUE(parsed.table) << parsed.error << "\n" << text;
    const CurvesTable& table = *parsed.table;
    ASSERT_EQ(table.points.size(), 6u);
    EXPECT_EQ(table.points[0].m, 2);
    EXPECT_FALSE(table.points[0].used);
    EXPECT_EQ(table.points[1].eps, 1.0);
    EXPECT_EQ(table.points[1].x, -0.8);
    EXPECT_EQ(table.points[1].pairs, 300.0);
    EXPECT_EQ(table.points[1].y, 5.703782474656201);
    EXPECT_TRUE(table.points[1].used);
    EXPECT_EQ(table.points[3].m, 3);
    EXPECT_EQ(table.points[3].k, 0);
    EXPECT_FALSE(table.points[3].y.has_value());
    ASSERT_EQ(table.fits.size(), 2u);
    EXPECT_EQ(table.fits[1].m, 3);
    EXPECT_EQ(table.fits[1].slope, 2.5);
    EXPECT_EQ(table.fits[1].intercept, 6.8);
    EXPECT_EQ(table.fits[1].points, 2);
  }
}

TEST(ParseCurvesCsv, RefusesWithTheFirstFaultAndItsLine) {
  const std::string points_only = Joined({kLines.begin(), kLines.begin() + 7});
  const struct {
    std::string text, error;
  } cases[] = {
      {"", "line 1: expected the header m,k,eps,x,pairs,y,used"},
      {WithLine(0, "m,k,eps,x,pairs,y"), "line 1: expected the header m,k,eps,x,pairs,y,used"},
      {WithLine(1, "2,0,0.5,-1.5,40,3.7"), "line 2: expected 7 fields, found 6"},
      {WithLine(1, "2,0,0.5,-1.5,40,3.7,0,1"), "line 2: expected 7 fields, found 8"},
      {WithLine(1, "1,0,0.5,-1.5,40,3.7,0"), "line 2: m is no whole number from 2 to 16"},
      {WithLine(1, "17,0,0.5,-1.5,40,3.7,0"), "line 2: m is no whole number from 2 to 16"},
      {WithLine(1, "2.0,0,0.5,-1.5,40,3.7,0"), "line 2: m is no whole number from 2 to 16"},
      {WithLine(1, "2,-1,0.5,-1.5,40,3.7,0"), "line 2: k is no whole number from 0"},
      {WithLine(1, "2,0,0,-1.5,40,3.7,0"), "line 2: eps is no positive number"},
      {WithLine(1, "2,0,inf,-1.5,40,3.7,0"), "line 2: eps is no positive number"},
      {WithLine(1, "2,0,0.5,nan,40,3.7,0"), "line 2: x is no number"},
      {WithLine(1, "2,0,0.5,-1.5x,40,3.7,0"), "line 2: x is no number"},
      {WithLine(1, "2,0,0.5,,40,3.7,0"), "line 2: x is no number"},
      {WithLine(1, "2,0,0.5,-1.5,-1,3.7,0"), "line 2: pairs is no number of pairs"},
      {WithLine(1, "2,0,0.5,-1.5,40,,0"), "line 2: y is no number"},
      {WithLine(4, "3,0,0.5,-1.5,0,0,0"), "line 5: y is given for no pair"},
      {WithLine(1, "2,0,0.5,-1.5,40,3.7,2"), "line 2: used is neither 0 nor 1"},
      {WithLine(1, "2,0,0.5,-1.5,40,3.7,"), "line 2: used is neither 0 nor 1"},
      {WithLine(2, "2,2,1,-0.8,300,5.7,1"), "line 3: expected k = 1"},
      {WithLine(4, "3,1,0.5,-1.5,0,,0"), "line 5: expected k = 0"},
      {Joined({kLines[0], kLines[4], kLines[1]}), "line 3: the dimensions do not ascend"},
      {Joined({kLines[0], "", kLines[8]}), "line 2: no grid point"},
      {points_only, "line 8: expected an empty line and the fitted lines"},
      {WithoutLine(7), "line 8: expected 7 fields, found 4"},  // the fits read as points
      {WithLine(8, "m,slope,intercept"), "line 9: expected the header m,slope,intercept,points"},
      {points_only + "\n\n", "line 9: expected the header m,slope,intercept,points"},
      {WithLine(9, "2,1.57,6.9"), "line 10: expected 4 fields, found 3"},
      {WithLine(9, "x,1.57,6.9,2"), "line 10: m is no whole number from 2 to 16"},
      {WithLine(9, "2,,6.9,2"), "line 10: slope is no number"},
      {WithLine(9, "2,1.57,1e999,2"), "line 10: intercept is no number"},
      {WithLine(9, "2,1.57,6.9,-1"), "line 10: points is no whole number from 0"},
      {WithLine(9, "3,2.5,6.8,2"), "line 10: m = 3 is not the next dimension of the points"},
      {WithLine(9, "2,1.57,6.9,3"), "line 10: points = 3, but 2 points of m = 2 are used"},
      {WithoutLine(10), "line 11: no fitted line for m = 3"},
      {Joined(kLines) + "4,3.1,6.7,2\n", "line 12: m = 4 is not the next dimension of the points"},
  };
  for (const auto& c : cases) {
    const CurvesParse parsed = ParseCurvesCsv(c.text);
    EXPECT_FALSE(parsed.table) << c.text;
    EXPECT_EQ(parsed.error, c.error) << c.text;
  }
}

}  // namespace
}  // namespace ixo

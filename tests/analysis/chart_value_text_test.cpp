#include "analysis/chart_value_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace ixo {
namespace {

struct Case {
  double value;
  const char* point_text;  // with "." and ","
  const char* comma_text;  // with "," and "."
};

TEST(ChartValueText, PatternWithBothSeparatorConventions) {
  const Case cases[] = {
      {0.25, "0.25", "0,25"},
      {0, "0", "0"},
      {1, "1", "1"},
      {0.1111111, "0.111", "0,111"},
      {0.2611, "0.261", "0,261"},
      {0.5, "0.5", "0,5"},
      {12.0, "12", "12"},
      {1234.5, "1,234.5", "1.234,5"},
      {999.9996, "1,000", "1.000"},
      {1234567.25, "1,234,567.25", "1.234.567,25"},
      {-0.75, "-0.75", "-0,75"},
      {-1234.5678, "-1,234.568", "-1.234,568"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChartValueText(c.value, '.', ','), c.point_text) << c.value;
    EXPECT_EQ(ChartValueText(c.value, ',', '.'), c.comma_text) << c.value;
  }
}

TEST(ChartValueText, RoundsHalfAwayFromZeroOnDecimalDigits) {
  // 1/16 and 3/16 are exact binary ties that a binary rounding would send to even.
  EXPECT_EQ(ChartValueText(0.0625, '.', ','), "0.063");
  EXPECT_EQ(ChartValueText(0.1875, '.', ','), "0.188");
  EXPECT_EQ(ChartValueText(-0.0625, '.', ','), "-0.063");
  EXPECT_EQ(ChartValueText(0.9995, '.', ','), "1");
  EXPECT_EQ(ChartValueText(0.00049, '.', ','), "0");
  EXPECT_EQ(ChartValueText(0.0005, '.', ','), "0.001");
}

TEST(ChartValueText, TinyAndSpecialValues) {
  EXPECT_EQ(ChartValueText(-0.0001, '.', ','), "0");
  EXPECT_EQ(ChartValueText(1e-300, '.', ','), "0");
  EXPECT_EQ(ChartValueText(1e21, '.', ','), "1,000,000,000,000,000,000,000");
  EXPECT_EQ(ChartValueText(std::numeric_limits<double>::quiet_NaN(), '.', ','), "NAN");
  EXPECT_EQ(ChartValueText(std::numeric_limits<double>::infinity(), '.', ','), "INF");
  EXPECT_EQ(ChartValueText(-std::numeric_limits<double>::infinity(), '.', ','), "-INF");
}

}  // namespace
}  // namespace ixo

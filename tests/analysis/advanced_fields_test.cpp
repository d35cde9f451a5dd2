#include "analysis/advanced_fields.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ixo {
namespace {

TEST(ParseIntegerText, ReadsLikeTheIntegerConversion) {
  struct Case {
    std::string text;
    std::optional<int> expected;
  };
  const Case cases[] = {
      {"2", 2},
      {"  16", 16},
      {"+7", 7},
      {"-3", -3},
      {"0", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {" ", std::nullopt},
      {"+", std::nullopt},
      {"- 3", std::nullopt},
      {"2 ", std::nullopt},
      {"2.0", std::nullopt},
      {"1e2", std::nullopt},
      {"abc", std::nullopt},
      {"\t2", std::nullopt},
      {"0x10", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseIntegerText(c.text), c.expected) << "'" << c.text << "'";
  }
}

TEST(CheckDimensionText, TwoToSixteen) {
  for (int m = -2; m <= 20; ++m) {
    const DimensionCheck check = CheckDimensionText(std::to_string(m));
    EXPECT_EQ(check.m.has_value(), m >= 2 && m <= 16) << m;
    EXPECT_EQ(check.message.empty(), check.m.has_value()) << m;
    EXPECT_FALSE(check.conversion) << m;
  }
  const DimensionCheck bds_state = CheckDimensionText("100");
  EXPECT_FALSE(bds_state.m);
  const DimensionCheck letters = CheckDimensionText("two");
  EXPECT_TRUE(letters.conversion);
  EXPECT_EQ(letters.message, "'two' is not a valid integer value");
}

TEST(CheckAdvancedFields, NamesTheFirstUnusableField) {
  const AdvancedFieldTexts initial = {"0.60", "1.90", "40", "50", "2", "0.50"};
  struct Case {
    std::string AdvancedFieldTexts::*field;
    std::string text;
    bool bds;
    std::optional<std::string> expected;
  };
  using F = AdvancedFieldTexts;
  const Case cases[] = {
      {&F::eps_low, "0.60", false, std::nullopt},
      {&F::eps_low, " .25 ", false, std::nullopt},
      {&F::eps_low, "2.5e-1", false, std::nullopt},
      {&F::eps_low, "0", false, "Epsilon range: '0' is not a positive number."},
      {&F::eps_low, "-0.6", false, "Epsilon range: '-0.6' is not a positive number."},
      {&F::eps_low, "0,60", false, "Epsilon range: '0,60' is not a positive number."},
      {&F::eps_low, "", false, "Epsilon range: '' is not a positive number."},
      {&F::eps_low, "0.6 1", false, "Epsilon range: '0.6 1' is not a positive number."},
      {&F::eps_high, "1e400", false, "Epsilon range: '1e400' is not a positive number."},
      {&F::eps_high, "nan", false, "Epsilon range: 'nan' is not a positive number."},
      {&F::eps_high, "1e-400", false, "Epsilon range: '1e-400' is not a positive number."},
      {&F::bds_eps, "1e-400", true, "Compute BDS for epsilon: '1e-400' is not a positive number."},
      {&F::intervals, "1", false, std::nullopt},
      {&F::intervals, "0", false, "Number of intervals: '0' is not an integer of at least 1."},
      {&F::intervals, "40.5", false,
       "Number of intervals: '40.5' is not an integer of at least 1."},
      {&F::constraint, "0", false, std::nullopt},
      {&F::constraint, "-1", false, "Cm constraint: '-1' is not an integer of at least 0."},
      {&F::constraint, "fifty", false, "Cm constraint: 'fifty' is not an integer of at least 0."},
      {&F::bds_eps, "x", false, std::nullopt},  // only checked when the BDS box is ticked
      {&F::bds_eps, "x", true, "Compute BDS for epsilon: 'x' is not a positive number."},
      {&F::bds_eps, "0", true, "Compute BDS for epsilon: '0' is not a positive number."},
      {&F::bds_eps, "0.5", true, std::nullopt},
  };
  for (const Case& c : cases) {
    AdvancedFieldTexts fields = initial;
    fields.*c.field = c.text;
    EXPECT_EQ(CheckAdvancedFields(fields, c.bds), c.expected) << "'" << c.text << "'";
  }
}

}  // namespace
}  // namespace ixo

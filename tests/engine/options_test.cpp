#include "options.h"

#include <gtest/gtest.h>

#include <vector>

namespace ixo {
namespace {

CommandLine Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "ixo_engine");
  return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

TEST(ParseCommandLine, NoArgumentsShowsUsage) {
  EXPECT_EQ(Parse({}).action, CommandLine::Action::kShowUsage);
}

TEST(ParseCommandLine, OneArgumentTakesTheDefaults) {
  const CommandLine c = Parse({"data.txt"});
  ASSERT_EQ(c.action, CommandLine::Action::kRun);
  EXPECT_EQ(c.options.filename, "data.txt");
  EXPECT_EQ(c.options.m, 10);
  EXPECT_EQ(c.options.eps_low, 0.25);
  EXPECT_EQ(c.options.eps_high, 1.00);
  EXPECT_EQ(c.options.subint, 40);
  EXPECT_EQ(c.options.cm_limit, 50);
  EXPECT_EQ(c.options.write_mode, WriteMode::kReportOnly);
}

TEST(ParseCommandLine, FourArguments) {
  const CommandLine c = Parse({"f", "6", "0.5", "1.5"});
  ASSERT_EQ(c.action, CommandLine::Action::kRun);
  EXPECT_EQ(c.options.m, 6);
  EXPECT_EQ(c.options.eps_low, 0.5);
  EXPECT_EQ(c.options.eps_high, 1.5);
  EXPECT_EQ(c.options.subint, 40);
  EXPECT_EQ(c.options.cm_limit, 50);
  EXPECT_EQ(c.options.write_mode, WriteMode::kReportOnly);
}

TEST(ParseCommandLine, SixArgumentsTruncateSubintAndCmLimit) {
  const CommandLine c = Parse({"f", "4", "0.6", "1.9", "40.9", "50.7"});
  ASSERT_EQ(c.action, CommandLine::Action::kRun);
  EXPECT_EQ(c.options.subint, 40);
  EXPECT_EQ(c.options.cm_limit, 50);
  EXPECT_EQ(c.options.write_mode, WriteMode::kReportOnly);
}

TEST(ParseCommandLine, SeventhArgumentSelectsTheWriteMode) {
  struct Case {
    const char* text;
    WriteMode mode;
  };
  for (const Case& k : {Case{"1", WriteMode::kIxoValue}, Case{"2", WriteMode::kBds},
                        Case{"0", WriteMode::kReportOnly}, Case{"3", WriteMode::kReportOnly},
                        Case{" 2x", WriteMode::kBds}, Case{"x", WriteMode::kReportOnly},
                        Case{"-1", WriteMode::kReportOnly}}) {
    const CommandLine c = Parse({"f", "4", "0.6", "1.9", "40", "50", k.text});
    ASSERT_EQ(c.action, CommandLine::Action::kRun) << k.text;
    EXPECT_EQ(c.options.write_mode, k.mode) << k.text;
  }
}

TEST(ParseCommandLine, EightOrMoreArgumentsIgnoreTheSeventh) {
  for (auto args : {std::vector<const char*>{"f", "4", "0.6", "1.9", "40", "50", "1", "x"},
                    std::vector<const char*>{"f", "4", "0.6", "1.9", "40", "50", "2", "2", "2"}}) {
    const CommandLine c = Parse(args);
    ASSERT_EQ(c.action, CommandLine::Action::kRun);
    EXPECT_EQ(c.options.write_mode, WriteMode::kReportOnly);
    EXPECT_EQ(c.options.m, 4);
  }
}

TEST(ParseCommandLine, TwoThreeOrFiveArgumentsFailWithUsage) {
  for (auto args : {std::vector<const char*>{"f", "4"}, std::vector<const char*>{"f", "4", "0.6"},
                    std::vector<const char*>{"f", "4", "0.6", "1.9", "40"}}) {
    const CommandLine c = Parse(args);
    EXPECT_EQ(c.action, CommandLine::Action::kFail) << args.size();
    EXPECT_TRUE(c.usage_too);
    EXPECT_NE(c.error.find(std::to_string(args.size())), std::string::npos) << c.error;
  }
}

TEST(ParseCommandLine, IntegerConversionOfM) {
  struct Case {
    const char* text;
    int m;
  };
  for (const Case& k : {Case{"5", 5}, Case{" 7", 7}, Case{"+3", 3}, Case{"6.9", 6},
                        Case{"12abc", 12}, Case{"16", 16}, Case{"1", 1}}) {
    const CommandLine c = Parse({"f", k.text, "0.6", "1.9"});
    ASSERT_EQ(c.action, CommandLine::Action::kRun) << k.text;
    EXPECT_EQ(c.options.m, k.m) << k.text;
  }
}

TEST(ParseCommandLine, RefusesValuesWithoutAResult) {
  struct Case {
    std::vector<const char*> args;
    const char* named;  // the argument the message must name
  };
  const std::vector<Case> cases = {
      {{"f", "17", "0.6", "1.9"}, "m '17'"},
      {{"f", "0", "0.6", "1.9"}, "m '0'"},
      {{"f", "-2", "0.6", "1.9"}, "m '-2'"},
      {{"f", "abc", "0.6", "1.9"}, "m 'abc'"},
      {{"f", "99999999999999999999", "0.6", "1.9"}, "m '99999999999999999999'"},
      {{"f", "4", "0", "1.9"}, "eps_low '0'"},
      {{"f", "4", "-0.5", "1.9"}, "eps_low '-0.5'"},
      {{"f", "4", "abc", "1.9"}, "eps_low 'abc'"},
      {{"f", "4", "nan", "1.9"}, "eps_low 'nan'"},
      {{"f", "4", "0.6", "inf"}, "eps_high 'inf'"},
      {{"f", "4", "0.6", "1e999"}, "eps_high '1e999'"},
      {{"f", "4", "0.6", "1.9", "0", "50"}, "subint '0'"},
      {{"f", "4", "0.6", "1.9", "0.9", "50"}, "subint '0.9'"},
      {{"f", "4", "0.6", "1.9", "nan", "50"}, "subint 'nan'"},
      {{"f", "4", "0.6", "1.9", "1e12", "50"}, "subint '1e12'"},
      {{"f", "4", "0.6", "1.9", "40", "-1"}, "cm_limit '-1'"},
      {{"f", "4", "0.6", "1.9", "40", "1e10"}, "cm_limit '1e10'"},
      {{"f", "4", "0.6", "1.9", "40", "-1", "1"}, "cm_limit '-1'"},
  };
  for (const Case& k : cases) {
    const CommandLine c = Parse(k.args);
    EXPECT_EQ(c.action, CommandLine::Action::kFail) << k.named;
    EXPECT_FALSE(c.usage_too) << k.named;
    EXPECT_NE(c.error.find(k.named), std::string::npos) << c.error;
  }
}

TEST(ParseCommandLine, TruncationKeepsBorderValues) {
  // -0.5 truncates to 0, a valid cm_limit; 1.5 to subint 1.
  const CommandLine c = Parse({"f", "4", "0.6", "1.9", "1.5", "-0.5"});
  ASSERT_EQ(c.action, CommandLine::Action::kRun) << c.error;
  EXPECT_EQ(c.options.subint, 1);
  EXPECT_EQ(c.options.cm_limit, 0);
}

TEST(IntegerFromText, BehavesLikeAtoiAndSaturates) {
  EXPECT_EQ(IntegerFromText(""), 0);
  EXPECT_EQ(IntegerFromText("  -12x"), -12);
  EXPECT_EQ(IntegerFromText("- 3"), 0);
  EXPECT_EQ(IntegerFromText("99999999999999999999999"), 2147483647);
  EXPECT_EQ(IntegerFromText("-99999999999999999999999"), -2147483647 - 1);
}

}  // namespace
}  // namespace ixo

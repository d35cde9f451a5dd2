#include "analysis/engine_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ixo {
namespace {

// The product's own example; that every range reaches the engine and ixo_cli
// alike is cli_command_test's, with the real programs.
TEST(BasicCommandLine, RangeThreeAtDimensionFour) {
  EXPECT_EQ(BasicCommandLine(4, 3), "ixo_engine input.tmp 4 0.25 2.00 40 50 1");
}

TEST(BasicCommandLine, RangeOutsideTheListAddsNoTail) {
  EXPECT_EQ(BasicCommandLine(2, -1), "ixo_engine input.tmp 2");
  EXPECT_EQ(BasicCommandLine(2, 4), "ixo_engine input.tmp 2");
}

TEST(AdvancedCommandLines, FieldsGoInUnchanged) {
  EXPECT_EQ(AdvancedIxoCommandLine(2, "0.60", "1.90", "40", "50"),
            "ixo_engine input.tmp 2 0.60 1.90 40 50 1");
  EXPECT_EQ(AdvancedIxoCommandLine(16, "0.5", "2", "20", "0"),
            "ixo_engine input.tmp 16 0.5 2 20 0 1");
  EXPECT_EQ(BdsCommandLine("2", "0.50"), "ixo_engine input.tmp 2 0.50 1 1 1 2");
  EXPECT_EQ(BdsCommandLine("3", "0.50"), "ixo_engine input.tmp 3 0.50 1 1 1 2");
  EXPECT_EQ(BdsCommandLine(" 3", "1e-1"), "ixo_engine input.tmp  3 1e-1 1 1 1 2");
}

TEST(SplitCommandLine, SplitsOnRunsOfBlanksAndTabs) {
  using Words = std::vector<std::string>;
  const struct {
    std::string line;
    Words words;
  } cases[] = {
      {"ixo_engine input.tmp 2 0.60 1.90 40 50 1",
       {"ixo_engine", "input.tmp", "2", "0.60", "1.90", "40", "50", "1"}},
      {"  ixo_engine\tinput.tmp   3 0.50 1 1 1 2  ",
       {"ixo_engine", "input.tmp", "3", "0.50", "1", "1", "1", "2"}},
      // An empty field leaves no empty argument behind, and quotes stay as typed.
      {"ixo_engine input.tmp 2 0.60 1.90  50 1",
       {"ixo_engine", "input.tmp", "2", "0.60", "1.90", "50", "1"}},
      {"a \"b c\"", {"a", "\"b", "c\""}},
      {"", {}},
      {" \t ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.words) << "'" << c.line << "'";
}

}  // namespace
}  // namespace ixo

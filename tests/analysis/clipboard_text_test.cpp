#include "analysis/clipboard_text.h"

#include <gtest/gtest.h>

namespace ixo {
namespace {

TEST(ResultsClipboardText, StartsWithTheFixedHeaderWhateverTheRows) {
  EXPECT_EQ(ResultsClipboardText({}), "dimension\tIxo\tsignificance\r\n");
  EXPECT_EQ(ResultsClipboardText({{"m=2", "1.6", "reject at 1%", "0.001"}}, true),
            "dimension\tIxo\tsignificance\tp-value\r\nm=2\t1.6\treject at 1%\t0.001\r\n");
}

TEST(ResultsClipboardText, SeparatesCellsByTabsAndEndsRowsWithCrLf) {
  const struct {
    std::vector<std::vector<std::string>> rows;
    std::string body;
  } cases[] = {
      {{{"m=2", "1.576", "do not reject"}}, "m=2\t1.576\tdo not reject\r\n"},
      {{{"", "", ""}}, "\t\t\r\n"},
      {{{"m=2", "0.5", ""}}, "m=2\t0.5\t\r\n"},  // an empty last cell keeps its tab
      {{{"m=3", "2", "reject at 5%"}, {"m=4", "3", "unknown"}},
       "m=3\t2\treject at 5%\r\nm=4\t3\tunknown\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ResultsClipboardText(c.rows), std::string(kClipboardHeader) + c.body) << c.body;
  }
}

TEST(ResultsClipboardText, OverallVerdictFollowsTheRowsOnItsOwnLine) {
  EXPECT_EQ(ResultsClipboardText({{"m=2", "1.6", "reject at 1%", "0.004"}}, true,
                                 "i.i.d. rejected at 5 % (all dimensions)"),
            "dimension\tIxo\tsignificance\tp-value\r\nm=2\t1.6\treject at 1%\t0.004\r\n"
            "i.i.d. rejected at 5 % (all dimensions)\r\n");
  // No line under the grid: nothing after the rows, not even an empty line.
  EXPECT_EQ(ResultsClipboardText({{"m=2", "1.6", "do not reject"}}, false, ""),
            "dimension\tIxo\tsignificance\r\nm=2\t1.6\tdo not reject\r\n");
}

}  // namespace
}  // namespace ixo

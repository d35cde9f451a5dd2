#include "tables/csv_fields.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace ixo {
namespace {

// What the writer quotes, the reader splits back to the same text.
TEST(CsvFields, QuotedFieldsSplitBackToTheirText) {
  const std::string texts[] = {"plain", "a,b", "say \"hi\"", "line\nbreak", "cr\r",
                               "",      "\"",  "\"\"",       ",",           "/tmp/my file.txt"};
  for (const std::string& text : texts) {
    const std::string line = "x," + QuotedCsvField(text) + ",y";
    const std::optional<std::vector<std::string>> fields = SplitCsvLine(line);
    ASSERT_TRUE(fields.has_value()) << line;
    EXPECT_EQ(*fields, (std::vector<std::string>{"x", text, "y"})) << line;
  }
  EXPECT_EQ(QuotedCsvField("plain"), "plain");
  EXPECT_EQ(QuotedCsvField("a,b"), "\"a,b\"");
}

TEST(CsvFields, SplitLines) {
  const struct {
    const char* line;
    std::optional<std::vector<std::string>> fields;
  } cases[] = {
      {"", std::vector<std::string>{""}},
      {",", std::vector<std::string>{"", ""}},
      {"a,\"b,c\",d", std::vector<std::string>{"a", "b,c", "d"}},
      {"\"a\"\"b\"", std::vector<std::string>{"a\"b"}},
      {"a\"b\"c", std::vector<std::string>{"abc"}},
      {"\"unclosed", std::nullopt},
      {"a,\"b", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitCsvLine(c.line), c.fields) << c.line;
}

TEST(CsvFields, HeaderColumns) {
  const struct {
    const char* header;
    std::size_t columns;
    const char* last;
  } cases[] = {{kIxoTestHeader, 9, "p_adjusted"},
               {kCurvePointsHeader, 7, "used"},
               {kCurveFitsHeader, 4, "points"}};
  for (const auto& c : cases) {
    const std::vector<std::string> names = HeaderColumns(c.header);
    ASSERT_EQ(names.size(), c.columns) << c.header;
    EXPECT_EQ(names.back(), c.last) << c.header;
    EXPECT_EQ(names.front(), c.columns == 9 ? "file" : "m") << c.header;
  }
}

}  // namespace
}  // namespace ixo

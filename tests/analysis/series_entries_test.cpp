#include "analysis/series_entries.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ixo {
namespace {

TEST(SeriesEntries, LineValueTriesTheOtherSeparator) {
  const struct {
    const char* line;
    std::optional<long double> value;  // the same under either system separator
  } cases[] = {
      {"1,5", 1.5L},
      {"1.5", 1.5L},
      {" -2,25 ", -2.25L},
      {"1.234,5", std::nullopt},
      {"1,234.5", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1,5e3", 1500.0L},
      {"\t1.5", std::nullopt},
      {"", std::nullopt},
      {"Price", std::nullopt},
      {"1 2", std::nullopt},
      {"7", 7.0L},
  };
  for (const char separator : {'.', ','}) {
    for (const auto& c : cases) {
      EXPECT_EQ(LineValue(c.line, separator), c.value)
          << "line \"" << c.line << "\", separator '" << separator << "'";
    }
  }
}

TEST(SeriesEntries, EntryTextAndFileForm) {
  const struct {
    long double value;
    char separator;
    const char* entry;
    const char* file_form;
  } cases[] = {
      {0.00001L, '.', " 1E-5", "1E-5"},
      {-3, '.', "-3", "-3"},
      {2.50L, ',', " 2,5", "2.5"},
      {0, ',', " 0", "0"},
      {-24.0379L, ',', "-24,0379", "-24.0379"},
      {1234567.1234567891234L, '.', " 1234567.12345679", "1234567.12345679"},
      {1234567.1234567891234L, ',', " 1234567,12345679", "1234567.12345679"},
      {1.5e20L, ',', " 1,5E20", "1.5E20"},
      {123456789012345678.0L, '.', " 1.23456789012346E17", "1.23456789012346E17"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EntryText(c.value, c.separator), c.entry) << c.value;
    EXPECT_EQ(EntryFileForm(c.entry), c.file_form) << c.entry;
  }
}

}  // namespace
}  // namespace ixo

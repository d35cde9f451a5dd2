#include "series_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace ixo {
namespace {

class SeriesFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    return path_;
  }
  void TearDown() override { std::filesystem::remove(path_); }
  std::string path_ = ::testing::TempDir() + "series_file_test_" +
                      ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
};

TEST_F(SeriesFileTest, ReadsValuesSeparatedByWhiteSpace) {
  const SeriesFile f = ReadSeriesFile(Write("1\n-2.5\n  3e2\t4\r\n\n0x10\n"));
  EXPECT_EQ(f.error, "");
  EXPECT_EQ(f.values, (std::vector<double>{1, -2.5, 300, 4, 16}));
}

TEST_F(SeriesFileTest, EveryNumberReadsAsStrtodReadsIt) {
  // Plain decimals take a quicker reader than strtod; the bits must not change,
  // at the rounding edges and beyond the normal range included.
  const char* tokens[] = {"1.",
                          "-0",
                          "0.1",
                          "00012.5e+1",
                          "+1.5",
                          ".5",
                          "-.5e-3",
                          "1E5",
                          "9007199254740993",
                          "123456789012345678901234567890",
                          "1.7976931348623157e308",
                          "2.2250738585072011e-308",
                          "4e-320",
                          "5e-324",
                          "2.4703282292062328e-324",
                          "1e-400",
                          "0.30000000000000004440892098500626161694526672363281250001"};
  std::string text;
  for (const char* token : tokens) text += std::string(token) + "\n";
  const SeriesFile f = ReadSeriesFile(Write(text));
  ASSERT_EQ(f.error, "");
  ASSERT_EQ(f.values.size(), std::size(tokens));
  for (std::size_t i = 0; i < std::size(tokens); ++i) {
    const double expected = std::strtod(tokens[i], nullptr);
    EXPECT_EQ(std::memcmp(&expected, &f.values[i], sizeof expected), 0)
        << tokens[i] << ": " << f.values[i] << " against " << expected;
  }
}

TEST_F(SeriesFileTest, LastValueWithoutLineBreak) {
  const SeriesFile f = ReadSeriesFile(Write("7\n8"));
  EXPECT_EQ(f.values, (std::vector<double>{7, 8}));
}

TEST_F(SeriesFileTest, EmptyFileHasNoValues) {
  const SeriesFile f = ReadSeriesFile(Write(""));
  EXPECT_EQ(f.error, "");
  EXPECT_TRUE(f.values.empty());
}

TEST_F(SeriesFileTest, MoreThanTenThousandValues) {
  std::string text;
  for (int i = 0; i < 12345; ++i) text += std::to_string(i) + "\n";
  const SeriesFile f = ReadSeriesFile(Write(text));
  ASSERT_EQ(f.values.size(), 12345u);
  EXPECT_EQ(f.values.back(), 12344.0);
}

TEST_F(SeriesFileTest, RefusesTokensThatAreNotFiniteNumbers) {
  struct Case {
    const char* text;
    const char* expected;  // part of the message
  };
  for (const Case& k :
       {Case{"1\n2\nabc\n", "'abc' on line 3"}, Case{"1\n1.5x\n", "'1.5x' on line 2"},
        Case{"nan\n", "'nan' on line 1"}, Case{"1\n\n\n-inf\n", "'-inf' on line 4"},
        Case{"1e999\n", "'1e999' on line 1"}, Case{"1 2 3,5\n", "'3,5' on line 1"},
        Case{"1e+\n", "'1e+' on line 1"}, Case{"1.2.3\n", "'1.2.3' on line 1"},
        Case{"-\n", "'-' on line 1"}, Case{"1 2e\n", "'2e' on line 1"}}) {
    const SeriesFile f = ReadSeriesFile(Write(k.text));
    EXPECT_NE(f.error.find(k.expected), std::string::npos) << k.text << " -> " << f.error;
    EXPECT_NE(f.error.find(path_), std::string::npos) << f.error;
    EXPECT_TRUE(f.values.empty());
  }
}

TEST_F(SeriesFileTest, OutOfRangeIsNamedAsSuch) {
  const SeriesFile f = ReadSeriesFile(Write("-1e400\n"));
  EXPECT_NE(f.error.find("beyond the range"), std::string::npos) << f.error;
}

TEST_F(SeriesFileTest, LongGarbageIsShortenedInTheMessage) {
  const SeriesFile f = ReadSeriesFile(Write(std::string(5000, 'z')));
  EXPECT_LT(f.error.size(), 200u + path_.size()) << f.error;
}

TEST(SeriesFile, MissingFileIsNamedWithTheReason) {
  const SeriesFile f = ReadSeriesFile("/nonexistent/dir/series.txt");
  EXPECT_NE(f.error.find("'/nonexistent/dir/series.txt'"), std::string::npos) << f.error;
  EXPECT_NE(f.error.find("No such file"), std::string::npos) << f.error;
}

}  // namespace
}  // namespace ixo

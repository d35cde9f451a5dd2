#include "analysis/data_import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "../platform/temp_dir.h"
#include "analysis/errors.h"
#include "analysis/observation_list.h"
#include "analysis/size_class_choice.h"
#include "platform/platform_run_host.h"

namespace ixo {
namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::string>;

// Each test gets its own program directory and data folder under a fresh
// temporary directory.
class DataImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root_ / "program");
    fs::create_directories(root_ / "data");
    program_directory_ = (root_ / "program").string() + "/";
  }

  std::string DataFile(const std::string& name, const std::string& bytes) {
    const std::string path = (root_ / "data" / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::string InputTmp() const { return program_directory_ + "input.tmp"; }
  static std::string Contents(const std::string& path) { return testing::ReadWholeFile(path); }
  ImportResult Import(const std::string& path, char separator = '.') {
    PlatformRunHost files(program_directory_);
    return ImportDataFile(path, program_directory_, separator, list_, files);
  }
  // The bytes of a file with one line per value.
  static std::string Lines(int count, const char* line_end = "\n") {
    std::string bytes;
    for (int i = 1; i <= count; ++i)
      bytes += std::to_string(i % 97) + "." + std::to_string(i % 7) + line_end;
    return bytes;
  }

  testing::TempDir scratch_{"ixo_import_"};
  fs::path root_{scratch_.path()};
  std::string program_directory_;
  VectorObservationList list_;
};

TEST_F(DataImportTest, SeriesOneToFourUnderBothSeparators) {
  for (const char separator : {'.', ','}) {
    const std::string path = DataFile("series.txt", "1\r\n2\r\n3\r\n4\r\n");
    const ImportResult r = Import(path, separator);
    const std::string point(1, separator);
    EXPECT_FALSE(r.error) << *r.error;
    EXPECT_EQ(r.path, path);
    EXPECT_EQ(list_.items(), (Entries{" 1", " 2", " 3", " 4"}));
    EXPECT_EQ(r.count_text, "4");
    EXPECT_EQ(r.file_name, "series.txt");
    EXPECT_EQ(r.skipped_text, "0");
    EXPECT_EQ(r.mean_text, "2" + point + "500");
    EXPECT_EQ(r.standard_deviation_text, "1" + point + "291");
    EXPECT_EQ(r.spread_text, "3" + point + "000");
    EXPECT_EQ(r.ratio_text, "0" + point + "430");
    EXPECT_EQ(r.size_class, kPermutationClass);  // four values are far from every class
    EXPECT_EQ(Contents(InputTmp()), "1\r\n2\r\n3\r\n4\r\n");
  }
}

TEST_F(DataImportTest, TinyValuesGiveTheRatioOfAnyOtherScale) {
  // sd / spread does not depend on the unit; squares of deviations near 1e-161
  // leave the normal doubles, and below 1e-162 they vanish.
  for (const char* exponent : {"", "E-100", "E-161", "E-200", "E-300", "E100"}) {
    std::string bytes;
    for (const char* v : {"1", "2", "3", "4"}) bytes += std::string(v) + exponent + "\n";
    const ImportResult r = Import(DataFile("series.txt", bytes));
    EXPECT_FALSE(r.error) << exponent << ": " << r.error.value_or("");
    EXPECT_EQ(r.ratio_text, "0.430") << exponent;
  }
}

TEST_F(DataImportTest, LinesOfAFile) {
  const struct {
    std::string bytes;
    char separator;
    Entries entries;
    int skipped;
    std::string input_tmp;
  } cases[] = {
      {"Price\n1.5\n2.5\n3.5\n", '.', {" 1.5", " 2.5", " 3.5"}, 1, "1.5\r\n2.5\r\n3.5\r\n"},
      {"1\n\n2\n", '.', {" 1", " 2"}, 1, "1\r\n2\r\n"},
      {"1\n2\n\n", '.', {" 1", " 2"}, 1, "1\r\n2\r\n"},
      {"1\r2\n3\n", '.', {" 12", " 3"}, 0, "12\r\n3\r\n"},
      {"1\n\x1A"
       "2\n3\n",
       '.',
       {" 1"},
       0,
       "1\r\n"},
      {"\x1A"
       "5\n7\n8\n",
       '.',
       {},
       1,
       ""},
      {"1\n2\x1A", '.', {" 1", " 2"}, 0, "1\r\n2\r\n"},
      {"1\n2\n\x1A", '.', {" 1", " 2"}, 0, "1\r\n2\r\n"},
      {"1\n2\x1A"
       "junk\n3",
       '.',
       {" 1", " 2", " 3"},
       0,
       "1\r\n2\r\n3\r\n"},
      {"\t1\n 2 \n", '.', {" 2"}, 1, "2\r\n"},
      {"1,5\n1.5\n1.234,5\n", '.', {" 1.5", " 1.5"}, 1, "1.5\r\n1.5\r\n"},
      {"1,5\n1.5\n1.234,5\n", ',', {" 1,5", " 1,5"}, 1, "1.5\r\n1.5\r\n"},
      {"0.00001\n-3\n2.50\n", ',', {" 1E-5", "-3", " 2,5"}, 0, "1E-5\r\n-3\r\n2.5\r\n"},
      {"1234567.1234567891234\n0\n",
       '.',
       {" 1234567.12345679", " 0"},
       0,
       "1234567.12345679\r\n0\r\n"},
      {"1.5e20\n-24,0379\n", ',', {" 1,5E20", "-24,0379"}, 0, "1.5E20\r\n-24.0379\r\n"},
  };
  for (const auto& c : cases) {
    list_.Clear();
    const ImportResult r = Import(DataFile("lines.txt", c.bytes), c.separator);
    std::ostringstream where;
    where << "file \"" << c.bytes << "\", separator '" << c.separator << "'";
    EXPECT_EQ(list_.items(), c.entries) << where.str();
    EXPECT_EQ(r.skipped, c.skipped) << where.str();
    EXPECT_EQ(r.count, static_cast<int>(c.entries.size())) << where.str();
    EXPECT_EQ(Contents(InputTmp()), c.input_tmp) << where.str();
  }
}

TEST_F(DataImportTest, StopsAtTenThousandValues) {
  const struct {
    std::string bytes;
    int skipped;
  } cases[] = {
      {Lines(12000), 0},
      {Lines(12000, "\r\n"), 0},
      {"\n\n\n\n\n" + Lines(10000) + "junk\n\n" + Lines(3000), 5},
  };
  for (const auto& c : cases) {
    const ImportResult r = Import(DataFile("long.txt", c.bytes));
    EXPECT_FALSE(r.error);
    EXPECT_EQ(r.count_text, "10000");
    EXPECT_EQ(r.skipped, c.skipped);
    EXPECT_EQ(r.size_class, kPermutationClass);
    EXPECT_EQ(list_.Count(), 10000);
    EXPECT_EQ(list_.Item(9999), " 9.4");  // the line of i = 10000 in Lines()
  }
}

TEST_F(DataImportTest, SetOfCriticalValuesPreselectedFromTheCount) {
  // A class within 20 % of n, otherwise the permutation test.
  for (const auto& [count, size_class] :
       {std::pair{500, 0}, {1000, 1}, {2500, 2}, {749, 3}, {300, 3}}) {
    const ImportResult r = Import(DataFile("n.txt", Lines(count)));
    EXPECT_EQ(r.size_class, size_class) << count;
  }
}

TEST_F(DataImportTest, TooFewOrEqualValuesStopWhereTheArithmeticTraps) {
  const struct {
    std::string bytes;
    const char* error;
    int count;
    bool moments_shown;  // mean, deviation and spread
    std::string input_tmp;
  } cases[] = {
      {"", kInvalidOperation, 0, false, ""},
      {"Header only\n", kInvalidOperation, 0, false, ""},
      {"42\n", kInvalidOperation, 1, false, "42\r\n"},
      {"5\n5\n5\n", kInvalidOperation, 3, true, "5\r\n5\r\n5\r\n"},
      // Ten times 0.1 sum to just below 1, so the deviations are not exactly 0.
      {"0.1\n0.1\n0.1\n0.1\n0.1\n0.1\n0.1\n0.1\n0.1\n0.1\n", kDivisionByZero, 10, true,
       "0.1\r\n0.1\r\n0.1\r\n0.1\r\n0.1\r\n0.1\r\n0.1\r\n0.1\r\n0.1\r\n0.1\r\n"},
  };
  for (const auto& c : cases) {
    list_.Clear();
    list_.Append(" 99");
    const ImportResult r = Import(DataFile("few.txt", c.bytes));
    EXPECT_EQ(r.error, c.error) << "file \"" << c.bytes << "\"";
    EXPECT_EQ(r.count, c.count) << c.bytes;
    EXPECT_EQ(list_.Count(), c.count) << c.bytes;
    EXPECT_TRUE(r.path && r.count_text && r.file_name && r.skipped_text) << c.bytes;
    // No label keeps a number of the earlier series: what was not computed is blank.
    EXPECT_EQ(r.mean_text.value_or("?").empty(), !c.moments_shown) << c.bytes;
    EXPECT_EQ(r.standard_deviation_text.value_or("?").empty(), !c.moments_shown) << c.bytes;
    EXPECT_EQ(r.spread_text.value_or("?").empty(), !c.moments_shown) << c.bytes;
    EXPECT_EQ(r.ratio_text, "") << c.bytes;
    EXPECT_FALSE(r.size_class) << c.bytes;
    EXPECT_EQ(Contents(InputTmp()), c.input_tmp) << c.bytes;
  }
  EXPECT_EQ(Import(DataFile("empty.txt", "")).skipped, 1);
}

TEST_F(DataImportTest, CancelledDialogChangesNothing) {
  Import(DataFile("a.txt", "1\n2\n"));
  const ImportResult r = Import("");
  EXPECT_FALSE(r.path || r.count_text || r.mean_text || r.size_class || r.error);
  EXPECT_EQ(list_.items(), (Entries{" 1", " 2"}));
  EXPECT_EQ(Contents(InputTmp()), "1\r\n2\r\n");
}

TEST_F(DataImportTest, ReadOnlyDataFileGivesAWritableCopyAndStaysUntouched) {
  const std::string bytes = "1,5\n2\n\n3\n";
  const std::string path = DataFile("readonly.txt", bytes);
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  for (int round = 0; round < 2; ++round) {  // the second import replaces the first copy
    const ImportResult r = Import(path);
    EXPECT_FALSE(r.error) << r.error.value_or("");
    EXPECT_EQ(Contents(InputTmp()), "1.5\r\n2\r\n3\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(InputTmp().c_str(), &info), 0);
    EXPECT_TRUE(info.st_mode & S_IWUSR);
  }
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0444u);
  EXPECT_EQ(Contents(path), bytes);
}

TEST_F(DataImportTest, FailedCopyKeepsTheEarlierImport) {
  Import(DataFile("good.txt", "1\n2\n3\n"));
  std::vector<std::string> unreadable = {(root_ / "data" / "missing.txt").string(),
                                         (root_ / "data").string()};
  if (::geteuid() != 0) {  // root reads any file
    const std::string locked = DataFile("locked.txt", "7\n8\n");
    ::chmod(locked.c_str(), 0);
    unreadable.push_back(locked);
  }
  for (const std::string& path : unreadable) {
    const ImportResult r = Import(path);
    ASSERT_TRUE(r.error) << path;
    EXPECT_NE(r.error->find(path), std::string::npos) << *r.error;
    EXPECT_NE(r.error->find(": "), std::string::npos) << *r.error;
    // The edit boxes keep naming the file whose data are loaded.
    EXPECT_FALSE(r.path || r.count_text || r.file_name || r.mean_text || r.size_class) << path;
    EXPECT_EQ(list_.items(), (Entries{" 1", " 2", " 3"})) << path;
    EXPECT_EQ(Contents(InputTmp()), "1\r\n2\r\n3\r\n") << path;
    EXPECT_FALSE(fs::exists(InputTmp() + ".new")) << path;
  }
}

TEST_F(DataImportTest, DataBeyondTheDoubleRangeStopWithoutChangingTheSeries) {
  const std::string cases[] = {
      "1\n1E400\n2\n",
      "1\n-1.5e4000\n",
      "1.7976931348623158E308\n1\n",  // rounds to 15 digits beyond the largest double
      "1E308\n1E308\n",               // the sum overflows
      "1.7E308\n-1.7E308\n",          // the spread overflows
      "1E200\n-1E200\n",              // the squared deviations overflow
  };
  Import(DataFile("good.txt", "1\n2\n3\n"));
  for (const std::string& bytes : cases) {
    const ImportResult r = Import(DataFile("huge.txt", bytes));
    ASSERT_TRUE(r.error) << bytes;
    EXPECT_NE(r.error->find("exceed the range of a double"), std::string::npos) << *r.error;
    EXPECT_NE(r.error->find("huge.txt"), std::string::npos) << *r.error;
    EXPECT_FALSE(r.path || r.count_text || r.mean_text || r.size_class) << bytes;
    EXPECT_EQ(list_.items(), (Entries{" 1", " 2", " 3"})) << bytes;
    EXPECT_EQ(Contents(InputTmp()), "1\r\n2\r\n3\r\n") << bytes;
  }
  // Values that still fit are imported.
  EXPECT_EQ(Import(DataFile("big.txt", "Value\n1.7E308\n")).error, kInvalidOperation);
  EXPECT_EQ(list_.items(), (Entries{" 1.7E308"}));
  const ImportResult r = Import(DataFile("big.txt", "1E153\n-1E153\n"));
  EXPECT_FALSE(r.error) << r.error.value_or("");
  EXPECT_EQ(r.spread_text, "2E153");
}

TEST_F(DataImportTest, ChoosingInputTmpItselfKeepsItsData) {
  Import(DataFile("a.txt", "1\n2\n3\n"));
  const ImportResult r = Import(InputTmp());
  EXPECT_FALSE(r.error) << r.error.value_or("");
  EXPECT_EQ(r.file_name, "input.tmp");
  EXPECT_EQ(list_.items(), (Entries{" 1", " 2", " 3"}));
  EXPECT_EQ(Contents(InputTmp()), "1\r\n2\r\n3\r\n");
}

TEST_F(DataImportTest, LongLines) {
  const std::string padded = std::string(3'000'000, ' ') + "-7.25" + std::string(1'000'000, ' ');
  const std::string junk(3'000'000, '1');  // a number far beyond the extended range
  const ImportResult r = Import(DataFile("wide.txt", padded + "\n" + junk + ".5\n4\n"));
  EXPECT_FALSE(r.error) << r.error.value_or("");
  EXPECT_EQ(list_.items(), (Entries{"-7.25", " 4"}));
  EXPECT_EQ(r.skipped, 1);
}

}  // namespace
}  // namespace ixo

#include "analysis/result_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <string>

#include "../platform/temp_dir.h"
#include "platform/platform_run_host.h"

namespace ixo {
namespace {

using testing::TempDir;
using Status = ResultRead::Status;

struct Case {
  std::string text;
  Status status;
  double value;
};

std::string Printable(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02x", byte);
      out += code;
    } else {
      out += c;
    }
  }
  return out.size() > 80 ? out.substr(0, 80) + "..." : out;
}

const std::string k64Digits = "1" + std::string(63, '0');

const Case kCases[] = {
    // What the engine writes, and the blanks and line ends around it.
    {"0.123\n", Status::kValue, 0.123},
    {"-2.250\r\n", Status::kValue, -2.25},
    {"  \t\r\n\n 1.500", Status::kValue, 1.5},
    {"1.000\n", Status::kValue, 1.0},
    {"0.000\n", Status::kValue, 0.0},
    // Nothing but blanks and line ends reads as 0.
    {"", Status::kValue, 0.0},
    {" \t\r\n\n  ", Status::kValue, 0.0},
    // The word ends at a blank or control character; the rest is ignored.
    {"1.5 and more", Status::kValue, 1.5},
    {"2.5\tx", Status::kValue, 2.5},
    {"3.5\x01zz", Status::kValue, 3.5},
    {std::string("4.5\0junk", 8), Status::kValue, 4.5},
    {"6.5\nnot a number", Status::kValue, 6.5},
    // Number forms.
    {"+3", Status::kValue, 3.0},
    {"1e3", Status::kValue, 1000.0},
    {"1.5E-2", Status::kValue, 0.015},
    {".5", Status::kValue, 0.5},
    {"5.", Status::kValue, 5.0},
    {"-0", Status::kValue, 0.0},
    {"1e-400", Status::kValue, 0.0},
    {"0.00001e-320", Status::kValue, 0.0},
    {"-1e-400", Status::kValue, 0.0},
    // 64 characters are read; one more is not a number cut short.
    {k64Digits + "\n", Status::kValue, 1e63},
    {"0." + std::string(61, '0') + "5", Status::kValue, 5e-62},
    {k64Digits + "0\n", Status::kFailed, 0.0},
    {"0." + std::string(62, '0') + "5", Status::kFailed, 0.0},
    // Not numbers.
    {"0,5\n", Status::kFailed, 0.0},
    {"1,000.5", Status::kFailed, 0.0},
    {"abc", Status::kFailed, 0.0},
    {"1.2.3", Status::kFailed, 0.0},
    {"-", Status::kFailed, 0.0},
    {".", Status::kFailed, 0.0},
    {"e5", Status::kFailed, 0.0},
    {"1e", Status::kFailed, 0.0},
    {"1e+", Status::kFailed, 0.0},
    {"--1", Status::kFailed, 0.0},
    {"inf", Status::kFailed, 0.0},
    {"nan", Status::kFailed, 0.0},
    {"0x1p3", Status::kFailed, 0.0},
    {"1e400", Status::kFailed, 0.0},
    {"1e" + std::string(62, '9'), Status::kFailed, 0.0},
    {"\x01"
     "1.5",
     Status::kFailed, 0.0},
    {"\x1a", Status::kFailed, 0.0},
    {"1.5x", Status::kFailed, 0.0},
    {"\xef\xbb\xbf"
     "1.5",
     Status::kFailed, 0.0},
};

const char* StatusName(Status status) {
  switch (status) {
    case Status::kNotThereYet:
      return "not there yet";
    case Status::kValue:
      return "value";
    case Status::kFailed:
      return "failed";
  }
  return "?";
}

void ExpectCase(const ResultRead& got, const Case& c, const char* how) {
  ASSERT_STREQ(StatusName(got.status), StatusName(c.status))
      << how << " '" << Printable(c.text) << "'";
  if (c.status == Status::kValue) {
    EXPECT_DOUBLE_EQ(got.value, c.value) << how << " '" << Printable(c.text) << "'";
  } else {
    EXPECT_EQ(got.error, "Invalid numeric input") << how << " '" << Printable(c.text) << "'";
  }
}

TEST(ParseResultText, ReadingRules) {
  for (const Case& c : kCases) ExpectCase(ParseResultText(c.text), c, "text");
}

// The poll's reading of a file: the platform's look at it, read by the rules.
ResultRead ReadResultFile(const std::string& path) {
  PlatformRunHost host("/");
  return ReadResultText(host.ReadResult(path));
}

TEST(ReadResultFile, ReadsAFileByTheSameRules) {
  TempDir dir;
  for (const Case& c : kCases)
    ExpectCase(ReadResultFile(dir.Write("output.tmp", c.text)), c, "file");
}

TEST(ReadResultFile, LongLeadingBlanksAndWordsAcrossReads) {
  TempDir dir;
  const Case cases[] = {
      {std::string(1 << 20, ' ') + "\n7.25\n", Status::kValue, 7.25},
      {std::string(4093, '\n') + "123.456\n", Status::kValue, 123.456},
      {std::string(4090, ' ') + k64Digits, Status::kValue, 1e63},
      {std::string(4090, ' ') + k64Digits + "1", Status::kFailed, 0.0},
      {"8.5" + std::string(1 << 20, 'x'), Status::kFailed, 0.0},
      {"9.5 " + std::string(1 << 20, 'x'), Status::kValue, 9.5},
  };
  for (const Case& c : cases)
    ExpectCase(ReadResultFile(dir.Write("output.tmp", c.text)), c, "file");
}

TEST(ReadResultFile, NotThereYetUnlessARegularFileOpens) {
  TempDir dir;
  const std::string file = dir.Write("file", "1.5\n");
  ::mkdir((dir.path() + "folder").c_str(), 0755);
  // A FIFO must not make the poll wait for a writer.
  ASSERT_EQ(::mkfifo((dir.path() + "fifo").c_str(), 0644), 0);
  for (const std::string& path :
       {dir.path() + "missing", dir.path() + "folder", file + "/output.tmp", dir.path() + "fifo"}) {
    EXPECT_STREQ(StatusName(ReadResultFile(path).status), "not there yet") << path;
  }
}

TEST(ParseResultText, PointIsTheSeparatorWhateverTheLocale) {
  const char* german = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "cs_CZ.UTF-8"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      german = name;
      break;
    }
  }
  if (german == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
  const ResultRead point = ParseResultText("0.625\n");
  const ResultRead comma = ParseResultText("0,625\n");
  std::setlocale(LC_ALL, "C");
  EXPECT_STREQ(StatusName(point.status), "value") << german;
  EXPECT_DOUBLE_EQ(point.value, 0.625) << german;
  EXPECT_STREQ(StatusName(comma.status), "failed") << german;
}

}  // namespace
}  // namespace ixo

#include "analysis/data_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace ixo {
namespace {

// Every line DataLineReader gives for `bytes`, up to the end of the data.
std::vector<std::string> ReadAllLines(const std::string& bytes) {
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::rewind(file);
  DataLineReader reader(file);
  std::vector<std::string> lines;
  std::string line;
  do {
    EXPECT_TRUE(reader.Next(line));
    lines.push_back(line);
  } while (!reader.AtEndOfData());
  std::fclose(file);
  return lines;
}

std::string Printable(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (c == '\x1A')
      out += "^Z";
    else
      out += c;
  }
  return out;
}

using Lines = std::vector<std::string>;

TEST(DataLineReader, LineEndsAndCtrlZ) {
  const struct {
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"", {""}},
      {"1", {"1"}},
      {"1\n", {"1"}},
      {"1\n\n", {"1", ""}},
      {"1\r\n2\r\n", {"1", "2"}},
      {"1\n2", {"1", "2"}},
      {"1\r5\n2", {"15", "2"}},
      {"1\r", {"1"}},
      {"1\r\r\n2", {"1", "2"}},
      {"\r\n", {""}},
      {"1\n\x1A"
       "2\n3\n",
       {"1"}},
      {"1\r\n\x1A", {"1"}},
      {"1\x1A", {"1"}},
      {"1\x1A"
       "abc\n2\n",
       {"1", "2"}},
      {"1\x1A\r\n2", {"1", "2"}},
      {"1\x1A\x1A\n\x1A\n3", {"1"}},
      // The start of the file is the start of a line too.
      {"\x1A"
       "5\n7\n8\n",
       {""}},
      {"\x1A", {""}},
      {"\x1A\n5", {""}},
      {"\r\x1A"
       "5\n6",
       {"", "6"}},
      {"a b\tc\n", {"a b\tc"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadAllLines(c.bytes), c.lines) << "bytes = \"" << Printable(c.bytes) << "\"";
  }
}

TEST(DataLineReader, LinesAcrossBufferBoundaries) {
  // The reader takes the file in blocks of 64 KiB; line ends and dropped
  // carriage returns that straddle a block edge read like any other.
  for (size_t length : {65534u, 65535u, 65536u, 200000u}) {
    const std::string long_line(length, '7');
    EXPECT_EQ(ReadAllLines(long_line + "\r\n8"), (Lines{long_line, "8"})) << length;
    EXPECT_EQ(ReadAllLines(long_line + "\r9\n8"), (Lines{long_line + "9", "8"})) << length;
    EXPECT_EQ(ReadAllLines(long_line + "\x1A" + long_line + "\n8"), (Lines{long_line, "8"}))
        << length;
    EXPECT_EQ(ReadAllLines(long_line + "\n\x1A"
                                       "8"),
              (Lines{long_line}))
        << length;
  }
}

}  // namespace
}  // namespace ixo

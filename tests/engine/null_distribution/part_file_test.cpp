#include "part_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace ixo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// FNV-1a, 64 bits, from its definition: the checksum a hand-made text needs.
std::string Sealed(const std::string& body) {
  std::uint64_t hash = 0xCBF29CE484222325ULL;
  for (const char ch : body) hash = (hash ^ static_cast<unsigned char>(ch)) * 0x100000001B3ULL;
  char end[32];
  std::snprintf(end, sizeof end, "end %016llx\n", static_cast<unsigned long long>(hash));
  return body + end;
}

Part Small() {
  Part p;
  p.program = "ixo_cli 1.0";
  p.command = "ixo";
  p.settings = {{"m", "3"}, {"eps", "0.6:1.9"}};
  p.seed = 20040105;
  p.replications = 10;
  p.begin = 4;
  p.end = 7;
  p.series = {{"data/a b.txt", 5, 0x0123456789abcdefULL}};
  p.sections = {{"observed", SectionKind::kSame, 0, 2, {1.5, 38, 2.25, 36}},
                {"tails", SectionKind::kSum, 0, 2, {0, 3, 2, 1}},
                {"values", SectionKind::kRows, -1, 1, {0.1, -2e-300, 7}}};
  return p;
}

TEST(PartFile, TheLayoutIsFixed) {
  // A reader of another build must read what this one writes: the text is pinned.
  EXPECT_EQ(WritePart(Small()), Sealed("ixo part 1\n"
                                       "program ixo_cli 1.0\n"
                                       "command ixo\n"
                                       "setting m 3\n"
                                       "setting eps 0.6:1.9\n"
                                       "seed 20040105\n"
                                       "replications 10\n"
                                       "range 4 7\n"
                                       "series 5 0123456789abcdef data/a b.txt\n"
                                       "section observed same 2 2 series 0\n"
                                       "1.5 38\n"
                                       "2.25 36\n"
                                       "section tails sum 2 2 series 0\n"
                                       "0 3\n"
                                       "2 1\n"
                                       "section values rows 3 1\n"
                                       "0.1\n"
                                       "-2e-300\n"
                                       "7\n"));
}

TEST(PartFile, EveryPartReadsBackAsWritten) {
  std::vector<Part> parts;
  parts.push_back(Small());
  Part odd = Small();
  odd.sections[0].cells = {kNaN, -0.0, kInf, -kInf};
  odd.sections[2].cells = {std::numeric_limits<double>::denorm_min(),
                           std::numeric_limits<double>::max(), 0.1 + 0.2};
  odd.series[0].path = "back\\slash, new\nline, tab\t, \x7f and \xc3\xa9";
  odd.series.push_back({"", 0, 0});
  odd.seed = ~0ULL;
  parts.push_back(odd);
  Part bare;  // no settings, series or sections, no replications
  bare.program = "p";
  bare.command = "critical";
  parts.push_back(bare);
  for (const Part& p : parts) {
    ASSERT_EQ(CheckPart(p), "") << WritePart(p);
    const std::string text = WritePart(p);
    const Result<Part> read = ReadPart(text);
    ASSERT_TRUE(read.value) << read.error << "\n" << text;
    EXPECT_TRUE(*read.value == p) << text;
    EXPECT_EQ(WritePart(*read.value), text);
  }
}

TEST(PartFile, ACutOrAlteredTextIsRefused) {
  const std::string text = WritePart(Small());
  for (std::size_t size = 0; size < text.size(); ++size)
    EXPECT_FALSE(ReadPart(text.substr(0, size)).ok()) << "first " << size << " bytes";
  for (std::size_t i = 0; i < text.size(); ++i) {
    for (const char flip : {'\x01', '\x20'}) {
      std::string altered = text;
      altered[i] ^= flip;
      const Result<Part> read = ReadPart(altered);
      EXPECT_FALSE(read.value) << "byte " << i << " of\n" << altered;
    }
  }
  EXPECT_EQ(ReadPart(text.substr(0, text.size() - 30)).error, "truncated: no end line");
  std::string altered = text;
  altered[text.find("38")] = '4';
  EXPECT_EQ(ReadPart(altered).error, "corrupted: the checksum does not match");
  EXPECT_EQ(ReadPart("x,y\n1,2\n").error, "not a part file");
}

TEST(PartFile, ReadingRefusesWhatNoWriterWrites) {
  const std::string good = WritePart(Small());
  const std::string body = good.substr(0, good.rfind("end "));
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string b = body;
    b.replace(b.find(from), from.size(), to);
    return Sealed(b);
  };
  struct Case {
    std::string text;
    std::string error;
  };
  const Case cases[] = {
      {replaced("ixo part 1", "ixo part 2"),
       "line 1: format version 2; this program reads version 1"},
      {replaced("ixo part 1", "ixo part 01"), "line 1: no format version"},
      {replaced("command ixo\n", ""), "line 2: 'command' expected"},
      {replaced("setting m 3", "setting m"), "line 4: a setting without a value"},
      {replaced("setting m 3", "setting m 3 4"),
       "the setting m has an empty value or one with blanks"},
      {replaced("setting m 3", "setting m! 3"), "the setting name 'm!' is not a name"},
      {replaced("seed 20040105", "seed -1"), "line 6: the seed is no unsigned 64-bit number"},
      {replaced("seed 20040105", "seed 18446744073709551616"), "line 6: the seed is no"},
      {replaced("range 4 7", "range 4  7"), "line 8: the range is not two counts"},
      {replaced("range 4 7", "range 7 4"), "the range 7:4 does not lie in 0:10"},
      {replaced("range 4 7", "range 4 11"), "the range 4:11 does not lie in 0:10"},
      {replaced(" data/a b.txt", ""), "line 9: a series needs its length, hash and path"},
      {replaced("0123456789abcdef", "0123456789ABCDEF"), "line 9: a series needs"},
      {replaced("a b.txt", "a\\qb.txt"), "line 9: a series needs"},
      {replaced("a b.txt", "a\\x41b.txt"), "line 9: a series needs"},
      {replaced("observed same", "observed equal"), "line 10: a section needs its kind"},
      {replaced("same 2 2 series 0", "same 2 0 series 0"), "line 10: a section needs its kind"},
      {replaced("same 2 2 series 0", "same 2 2 series 1"), "section observed: no series 1"},
      {replaced("same 2 2 series 0", "same 2 2 serie 0"), "line 10: 'series' and its index"},
      {replaced("same 2 2 series 0", "same 99 2 series 0"), "line 10: the section is cut short"},
      {replaced("1.5 38", "1.5 38 1"), "line 11: a row of 2 numbers expected"},
      {replaced("1.5 38", "1.5 0x26"), "line 11: '0x26' is not a number"},
      {replaced("1.5 38", "1.5 nan(1)"), "line 11: 'nan(1)' is not a number"},
      {replaced("1.5 38", "1.5 infinity"), "line 11: 'infinity' is not a number"},
      {replaced("1.5 38", "1.5 1e999"), "line 11: '1e999' is not a number"},
      {replaced("0 3\n", "0 4\n"), "section tails: a count that is not a whole number 0..3"},
      {replaced("0 3\n", "0 2.5\n"), "section tails: a count that is not a whole number"},
      {replaced("0 3\n", "0 -1\n"), "section tails: a count that is not a whole number"},
      {replaced("0 3\n", "-0 3\n"), "section tails: a count that is not a whole number"},
      {replaced("rows 3 1\n0.1\n", "rows 2 1\n"), "section values: one row per replication"},
      {replaced("section values", "section tails series 0\n0 0\nsection values"),
       "line 16: a section line of 4 or 6 words"},
      {replaced("section values rows", "section tails rows"), ""},  // another series: allowed
      {replaced("section values rows 3 1",
                "section tails sum 1 1 series 0\n0\nsection values rows 3 1"),
       "section tails: given twice"},
      {body + "extra\n" + good.substr(good.rfind("end ")), "corrupted"},
      {Sealed(body + "extra\n"), "line 20: unexpected line"},
  };
  for (const Case& c : cases) {
    const Result<Part> read = ReadPart(c.text);
    if (c.error.empty()) {
      EXPECT_TRUE(read.value) << read.error << "\n" << c.text;
      continue;
    }
    EXPECT_FALSE(read.value) << c.text;
    EXPECT_EQ(read.error.substr(0, c.error.size()), c.error) << c.text;
  }
}

TEST(SeriesHash, SeesEveryBitAndTheOrder) {
  const std::vector<double> x = {1.5, -2, 3};
  const std::uint64_t h = SeriesHash(x);
  EXPECT_EQ(SeriesHash(std::vector<double>{}), 0xCBF29CE484222325ULL);  // FNV-1a's offset basis
  EXPECT_NE(SeriesHash(std::vector<double>{1.5, 3, -2}), h);
  EXPECT_NE(SeriesHash(std::vector<double>{1.5, -2, std::nextafter(3.0, 4.0)}), h);
  EXPECT_NE(SeriesHash(std::vector<double>{0.0}), SeriesHash(std::vector<double>{-0.0}));
  EXPECT_NE(SeriesHash(std::vector<double>{1.5, -2}), h);
}

}  // namespace
}  // namespace ixo

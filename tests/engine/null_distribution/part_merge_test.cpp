#include "part_merge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ixo {
namespace {

// A run of R = 10 replications whose replication r contributes the row r + 0.5
// and, to the counts, 1 where r is even (first column) or divisible by 3.
Part Range(long long begin, long long end) {
  Part p;
  p.program = "ixo_cli 1.0";
  p.command = "bds";
  p.settings = {{"m", "2"}, {"eps", "0.5,1"}};
  p.seed = 7;
  p.replications = 10;
  p.begin = begin;
  p.end = end;
  p.series = {{"x.txt", 100, 42}};
  PartSection observed{"observed", SectionKind::kSame, 0, 2, {0.25, -1.5}};
  PartSection tails{"tails", SectionKind::kSum, 0, 2, {0, 0}};
  PartSection rows{"values", SectionKind::kRows, 0, 1, {}};
  for (long long r = begin; r < end; ++r) {
    tails.cells[0] += r % 2 == 0;
    tails.cells[1] += r % 3 == 0;
    rows.cells.push_back(static_cast<double>(r) + 0.5);
  }
  p.sections = {observed, tails, rows};
  return p;
}

std::vector<NamedPart> Split(std::initializer_list<long long> cuts) {
  std::vector<NamedPart> parts;
  const std::vector<long long> c(cuts);
  for (std::size_t i = 0; i + 1 < c.size(); ++i)
    parts.push_back({std::string(1, 'p').append(std::to_string(i)), Range(c[i], c[i + 1])});
  return parts;
}

TEST(MergeParts, AnySplitInAnyOrderGivesTheWholeRun) {
  const Part whole = Range(0, 10);
  const std::vector<std::vector<NamedPart>> splits = {
      Split({0, 10}), Split({0, 5, 10}), Split({0, 3, 4, 10}), Split({0, 1, 2, 3, 5, 8, 9, 10}),
      Split({0, 0, 6, 6, 10})};  // empty ranges add nothing
  for (std::vector<NamedPart> parts : splits) {
    for (int turn = 0; turn < 2; ++turn) {
      const Result<Part> merged = MergeParts(parts);
      ASSERT_TRUE(merged.value) << parts.size() << " parts: " << merged.error;
      EXPECT_TRUE(*merged.value == whole) << parts.size() << " parts\n" << WritePart(*merged.value);
      std::reverse(parts.begin(), parts.end());
    }
  }
  // A run without replications is one empty part.
  Part none = Range(0, 0);
  none.replications = 0;
  const NamedPart only[] = {{"only", none}};
  const Result<Part> merged = MergeParts(only);
  ASSERT_TRUE(merged.value) << merged.error;
  EXPECT_TRUE(*merged.value == none);
}

TEST(MergeParts, RefusesPartsOfAnotherRunWithOneLineNamingThem) {
  struct Case {
    const char* what;
    std::vector<NamedPart> parts;
    std::string error;
  };
  const auto changed = [](auto change) {
    std::vector<NamedPart> parts = Split({0, 4, 10});
    change(parts[1].part);
    return parts;
  };
  const Case cases[] = {
      {"no part", {}, "no part given"},
      {"version", changed([](Part& p) { p.program = "ixo_cli 1.1"; }),
       "'p0' and 'p1' come from different programs or versions (ixo_cli 1.0; ixo_cli 1.1)"},
      {"command", changed([](Part& p) { p.command = "ixo"; }),
       "'p0' and 'p1' are parts of different commands (bds, ixo)"},
      {"setting", changed([](Part& p) { p.settings[1].second = "0.5,1.5"; }),
       "'p0' and 'p1' differ in their settings (eps 0.5,1; eps 0.5,1.5)"},
      {"setting left out", changed([](Part& p) { p.settings.pop_back(); }),
       "'p0' and 'p1' differ in their settings (eps 0.5,1; nothing)"},
      {"seed", changed([](Part& p) { p.seed = 8; }), "'p0' and 'p1' have different seeds (7, 8)"},
      {"R", changed([](Part& p) { p.replications = 11; }),
       "'p0' and 'p1' are parts of runs of different lengths (10 and 11 replications)"},
      {"series", changed([](Part& p) { p.series[0].hash = 43; }),
       "'p0' and 'p1' are of different series ('x.txt' of 100 values, hash 000000000000002a; "
       "'x.txt' of 100 values, hash 000000000000002b)"},
      {"series path", changed([](Part& p) { p.series[0].path = "y.txt"; }),
       "'p0' and 'p1' are of different series ('x.txt'"},
      {"series count", changed([](Part& p) { p.series.push_back(p.series[0]); }),
       "'p0' and 'p1' are of different series (1 and 2 series)"},
      {"sections", changed([](Part& p) { p.sections.pop_back(); }),
       "'p0' and 'p1' hold different sections"},
      {"section kind", changed([](Part& p) { p.sections[1].kind = SectionKind::kSame; }),
       "'p0' and 'p1' hold different sections (tails, tails)"},
      {"observed", changed([](Part& p) { p.sections[0].cells[1] = -1.25; }),
       "'p0' and 'p1' disagree on the observed values of section observed of series 0"},
      {"twice",
       {{"a", Range(0, 10)}, {"b", Range(0, 10)}},
       "'a' (replications 0..9) and 'b' (replications 0..9) overlap"},
      {"overlap",
       {{"a", Range(0, 5)}, {"c", Range(6, 10)}, {"b", Range(4, 6)}},
       "'a' (replications 0..4) and 'b' (replications 4..5) overlap"},
      {"gap inside",
       {{"a", Range(0, 4)}, {"b", Range(5, 10)}},
       "replication 4 (between 'a' and 'b') of 0..9 missing"},
      {"gaps at both ends",
       {{"a", Range(2, 5)}, {"b", Range(5, 8)}},
       "replications 0..1 (before 'a'), replications 8..9 (after 'b') of 0..9 missing"},
      {"only empty parts",
       {{"a", Range(3, 3)}},
       "replications 0..9 (no part holds any) of 0..9 missing"},
  };
  for (const Case& c : cases) {
    const Result<Part> merged = MergeParts(c.parts);
    EXPECT_FALSE(merged.value) << c.what;
    EXPECT_EQ(merged.error.substr(0, c.error.size()), c.error) << c.what;
    EXPECT_EQ(merged.error.find('\n'), std::string::npos) << c.what;
  }
}

TEST(MergePartTexts, RefusesAnUnreadablePartByItsName) {
  const std::string good = WritePart(Range(0, 4));
  const std::string rest = WritePart(Range(4, 10));
  const PartText whole[] = {{"first.part", good}, {"second.part", rest}};
  const Result<Part> merged = MergePartTexts(whole);
  ASSERT_TRUE(merged.value) << merged.error;
  EXPECT_TRUE(*merged.value == Range(0, 10));

  const PartText cut[] = {{"first.part", good}, {"second.part", rest.substr(0, rest.size() / 2)}};
  EXPECT_EQ(MergePartTexts(cut).error, "'second.part': truncated: no end line");
  std::string altered = good;
  altered[altered.find("0.25")] = '1';
  const PartText corrupt[] = {{"first.part", altered}, {"second.part", rest}};
  EXPECT_EQ(MergePartTexts(corrupt).error, "'first.part': corrupted: the checksum does not match");
}

}  // namespace
}  // namespace ixo

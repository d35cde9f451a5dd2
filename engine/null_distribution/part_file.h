// Part files: what one run over a range of a simulation's replications
// contributes, as a small self-describing text that travels between machines
// and merges with the other ranges' parts into the whole run's result.
//
// A part names the program and its version, the command and every setting, the
// seed, the number R of replications of the whole run and its own range, and
// the series by a fingerprint (n and a hash of its values' bits). Its numbers
// are in named sections, each of one of three kinds that say how the parts'
// copies combine: the same in every part (observed statistics), summed (tail
// counts), or one row per replication (simulated values), so that a reader
// merges sections it does not interpret. The last line holds a checksum of all
// the text before it: a truncated or altered part is refused.
//
//   ixo part 1
//   program ixo_cli 1.0
//   command ixo
//   setting m 3
//   setting eps 0.6:1.9
//   setting subint 40
//   setting cm-limit 50
//   seed 20040105
//   replications 999
//   range 0 500
//   series 1000 8f9df6fcdcb09c5b examples/normal.txt
//   section observed same 2 3 series 0
//   2 1.6302240423969419 41
//   3 2.4493256564578 41
//   section tails sum 2 3 series 0
//   415 85 500
//   413 87 500
//   end 4ee146dd5ed6b3de
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "result.h"

namespace ixo {

// The version of the layout below; a reader refuses any other.
inline constexpr int kPartFormatVersion = 1;

// How the copies of one section in the parts of a run combine.
enum class SectionKind {
  kSame,  // equal in every part, bit for bit
  kSum,   // counts of the part's replications (integers 0 .. its range's length), added
  kRows,  // one row per replication of the part's range, in replication order
};

struct PartSection {
  std::string name;  // letters, digits, '_' and '-'
  SectionKind kind = SectionKind::kSame;
  int series = -1;            // the index of the series it belongs to; -1 for none
  int columns = 1;            // 1 .. kMaxPartColumns
  std::vector<double> cells;  // row by row; a whole number of rows
  int Rows() const { return static_cast<int>(cells.size()) / columns; }
};

inline constexpr int kMaxPartColumns = 4096;

struct PartSeries {
  std::string path;  // as the run was given it
  std::uint64_t n = 0;
  std::uint64_t hash = 0;  // SeriesHash of its values
};

struct Part {
  std::string program;  // name and version of the writer, such as "ixo_cli 1.0"
  std::string command;  // such as "ixo"
  // name and value texts, in the writer's order: names of letters, digits, '_'
  // and '-', values without white space or control characters.
  std::vector<std::pair<std::string, std::string>> settings;
  std::uint64_t seed = 0;
  long long replications = 0;  // R of the whole run
  long long begin = 0;         // this part holds replications begin .. end - 1
  long long end = 0;
  std::vector<PartSeries> series;
  std::vector<PartSection> sections;  // names unique for each series

  bool operator==(const Part&) const;  // cells compared bit for bit
};

// FNV-1a (64 bits) over the values' IEEE bits, each value's eight bytes least
// significant first: the same on every machine for the same values as read.
std::uint64_t SeriesHash(std::span<const double> values);

// The text of `part`, ending with its checksum line. Requires a part that
// CheckPart accepts; numbers are written as the shortest text that reads back
// exactly ("nan", "inf" and "-inf" for the values that are no number).
std::string WritePart(const Part& part);

// Empty when `part` can be written and read back as it is: names and texts as
// Part describes them, 0 <= begin <= end <= R, series indexes in range, every
// section a whole number of rows, kSum cells whole numbers 0 .. end - begin
// (not -0), kRows sections of end - begin rows; else the first fault.
[[nodiscard]] std::string CheckPart(const Part& part);

// Reads a text WritePart wrote. Refuses, saying why (and on which line), a text
// that is cut short or whose checksum does not match ("truncated",
// "corrupted"), another format version, and anything CheckPart refuses.
[[nodiscard]] Result<Part> ReadPart(std::string_view text);

}  // namespace ixo

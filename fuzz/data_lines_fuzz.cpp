// Fuzz target: the import's line reading and the value of each line, over
// arbitrary bytes (CR, LF, Ctrl-Z, NUL, tabs, both separators, long lines).
//
// Input layout: the input is the whole file, read through a memory stream
// (fmemopen), which spares each run the system calls of a real file. (Line
// ends and Ctrl-Z across the reader's 64 KiB blocks are covered by the
// reader's own tests: a filler that big here would cost a millisecond a run.)
//
// Checked: the reader gives exactly the lines of a plain reference reading of
// the whole file (a line ends at LF; every CR is dropped; a Ctrl-Z ends the
// line's text, and one at the start of a line, the file's first byte
// included, ends the data), stopping after the 10000th value as the import does; no line holds LF,
// CR or Ctrl-Z; a line with at most one separator of either kind has the same value under both
// system separators. (The entry texts made from the values are the business
// of read_number_fuzz.)
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/data_lines.h"
#include "analysis/series_entries.h"
#include "fuzz_check.h"

namespace {

constexpr char kCtrlZ = 0x1A;

// The lines of `bytes` by the rules, read from the whole text at once.
std::vector<std::string> ReferenceLines(std::string_view bytes) {
  // A Ctrl-Z as the first byte ends the data at once; the one line read is empty.
  if (!bytes.empty() && bytes.front() == kCtrlZ) return {""};
  std::vector<std::string> lines;
  size_t pos = 0;
  for (;;) {
    size_t end = bytes.find('\n', pos);
    const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view text = bytes.substr(pos, end - pos);
    text = text.substr(0, text.find(kCtrlZ));
    std::string line;
    for (size_t at = 0;;) {
      const size_t cr = text.find('\r', at);
      line.append(text.substr(at, cr == std::string_view::npos ? cr : cr - at));
      if (cr == std::string_view::npos) break;
      at = cr + 1;
    }
    lines.push_back(std::move(line));
    pos = next;
    if (pos == bytes.size() || bytes[pos] == kCtrlZ) return lines;
  }
}

// How many of `c` `text` holds, stopping at `limit`.
size_t CountOf(char c, const std::string& text, size_t limit) {
  size_t count = 0;
  for (size_t at = text.find(c); at != std::string::npos && count < limit;
       at = text.find(c, at + 1)) {
    ++count;
  }
  return count;
}

// Checks the values of `line` under both separators; true when it has one under ".".
bool CheckLineValue(const std::string& line) {
  const std::optional<long double> point = ixo::LineValue(line, '.');
  if (CountOf('.', line, 2) + CountOf(',', line, 2) <= 1) {
    IXO_FUZZ_CHECK(ixo::LineValue(line, ',') == point);
  }
  return point.has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> expected = ReferenceLines(bytes);
  // fmemopen wants a buffer it may treat as writable; a copy keeps the input intact.
  std::string buffer(bytes);
  std::FILE* file = fmemopen(buffer.data(), buffer.size(), "rb");
  IXO_FUZZ_CHECK(file != nullptr);
  ixo::DataLineReader reader(file);
  std::string line;
  size_t index = 0;
  int values = 0;
  for (;;) {
    IXO_FUZZ_CHECK(reader.Next(line));
    IXO_FUZZ_CHECK(index < expected.size() && line == expected[index]);
    ++index;
    for (const char c : {'\n', '\r', kCtrlZ}) IXO_FUZZ_CHECK(line.find(c) == std::string::npos);
    if (CheckLineValue(line)) ++values;
    if (reader.AtEndOfData()) {
      IXO_FUZZ_CHECK(index == expected.size());
      break;
    }
    if (values == ixo::kMaxObservations) break;
  }
  std::fclose(file);
  return 0;
}

#include "analysis/pvalue_table.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace ixo {

namespace {

constexpr int kFields = 8;
constexpr int kDimensionField = 2;
constexpr int kPValueField = 7;

// The fields of one CSV line: separated by commas, a field in double quotes
// may hold commas, and "" inside it stands for one quote. Empty when the
// quotes do not close.
std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        fields.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  if (quoted) return std::nullopt;
  return fields;
}

template <typename T>
std::optional<T> WholeNumber(const std::string& field) {
  T value{};
  const char* end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(field.data(), end, value);
  if (field.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

PValueTable Failed(const std::string& message) {
  PValueTable table;
  table.error = "The p-values of ixo_cli cannot be read: " + message;
  return table;
}

}  // namespace

PValueTable ParsePValueTable(std::string_view text) {
  PValueTable table;
  int line_number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++line_number;
    const std::string where = "line " + std::to_string(line_number);
    if (line_number == 1) {
      if (line != kPValueHeader)
        return Failed(where + " is not the header " + std::string(kPValueHeader));
      continue;
    }
    if (line.empty()) continue;
    const std::optional<std::vector<std::string>> fields = SplitCsvLine(line);
    if (!fields || static_cast<int>(fields->size()) != kFields) {
      return Failed(where + " does not hold " + std::to_string(kFields) + " fields");
    }
    const std::optional<int> m = WholeNumber<int>((*fields)[kDimensionField]);
    const std::optional<double> p = WholeNumber<double>((*fields)[kPValueField]);
    if (!m) return Failed(where + " has no dimension");
    if (!p || !(*p >= 0 && *p <= 1)) return Failed(where + " has no p-value from 0 to 1");
    if (!table.p_values.emplace(*m, *p).second) {
      return Failed(where + " gives dimension " + std::to_string(*m) + " a second time");
    }
  }
  if (line_number == 0) return Failed("the file is empty");
  if (table.p_values.empty()) return Failed("the file holds no dimension");
  return table;
}

std::string PValueVerdict(double p_value) {
  if (p_value < 0.01) return "reject at 1%";
  if (p_value < 0.02) return "reject at 2%";
  if (p_value < 0.05) return "reject at 5%";
  if (p_value < 0.10) return "reject at 10%";
  return "do not reject";
}

}  // namespace ixo

#include "analysis/pvalue_table.h"

#include <climits>
#include <set>
#include <vector>

#include "tables/csv_fields.h"
#include "tables/whole_numbers.h"

namespace ixo {

namespace {

constexpr int kDimensionField = 2;
constexpr int kValueField = 3;
constexpr int kPValueField = 7;
constexpr int kAdjustedField = 8;

PValueTable Failed(const std::string& message) {
  PValueTable table;
  table.error = "The p-values of ixo_cli cannot be read: " + message;
  return table;
}

}  // namespace

PValueTable ParsePValueTable(std::string_view text) {
  PValueTable table;
  std::set<int> dimensions;
  int fields_per_line = kAdjustedField + 1;
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
      if (line == kUnadjustedPValueHeader) {
        fields_per_line = kPValueField + 1;
      } else if (line != kPValueHeader) {
        return Failed(where + " is not the header " + std::string(kPValueHeader));
      }
      continue;
    }
    if (line.empty()) continue;
    const std::optional<std::vector<std::string>> fields = SplitCsvLine(line);
    if (!fields || static_cast<int>(fields->size()) != fields_per_line) {
      return Failed(where + " does not hold " + std::to_string(fields_per_line) + " fields");
    }
    const auto probability = [&](int field) {
      const std::optional<double> p = WholeDouble((*fields)[field]);
      return p && *p >= 0 && *p <= 1 ? p : std::nullopt;
    };
    const bool adjusted = fields_per_line > kAdjustedField;
    if (adjusted && (*fields)[kDimensionField] == "all" && !table.overall) {
      table.overall = probability(kPValueField);
      if (!table.overall) return Failed(where + " has no p-value from 0 to 1");
      continue;
    }
    const std::optional<long long> m = WholeInteger((*fields)[kDimensionField], INT_MIN, INT_MAX);
    if (!m) return Failed(where + " has no dimension");
    if (!dimensions.insert(static_cast<int>(*m)).second) {
      return Failed(where + " gives dimension " + std::to_string(*m) + " a second time");
    }
    // A dimension without an Ixo value has neither value nor p-value.
    if ((*fields)[kValueField].empty() && (*fields)[kPValueField].empty()) continue;
    const std::optional<double> p = probability(kPValueField);
    if (!p) return Failed(where + " has no p-value from 0 to 1");
    table.p_values.emplace(static_cast<int>(*m), *p);
    if (adjusted) {
      const std::optional<double> q = probability(kAdjustedField);
      if (!q) return Failed(where + " has no adjusted p-value from 0 to 1");
      table.adjusted.emplace(static_cast<int>(*m), *q);
    }
  }
  if (line_number == 0) return Failed("the file is empty");
  if (dimensions.empty()) return Failed("the file holds no dimension");
  return table;
}

std::string FamilyVerdictLine(double overall_p_value) {
  return overall_p_value < 0.05 ? kFamilyRejected : kFamilyNotRejected;
}

}  // namespace ixo

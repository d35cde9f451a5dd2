#include "analysis/advanced_fields.h"

#include <cfloat>
#include <climits>
#include <cmath>

#include "analysis/number_text.h"
#include "analysis/run_state.h"

namespace ixo {

namespace {

bool IsPositiveNumber(const std::string& text) {
  const std::optional<long double> value = ReadNumber(text, '.');
  if (!value || *value > DBL_MAX) return false;
  // The engine holds it as a double: beyond the double range it would be
  // infinite, and below the smallest double it would be 0.
  return static_cast<double>(*value) > 0;
}

// The count the engine makes of a field: the number the text denotes (point
// as the separator, the whole text), truncated toward zero, as the engine's
// own conversion does with "40.9". Empty when the text is no such number or
// the count is below `least`; the engine would misread such a text.
std::optional<double> TruncatedCount(const std::string& text, double least) {
  const std::optional<long double> value = ReadNumber(text, '.');
  if (!value || !(std::fabs(*value) <= DBL_MAX)) return std::nullopt;
  const double count = std::trunc(static_cast<double>(*value));
  if (!(count >= least)) return std::nullopt;
  return count;
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

}  // namespace

std::optional<int> ParseIntegerText(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) return std::nullopt;
  return static_cast<int>(value);
}

std::string InvalidIntegerMessage(const std::string& text) {
  return Quoted(text) + " is not a valid integer value";
}

DimensionCheck CheckDimensionText(const std::string& dimension) {
  DimensionCheck check;
  const std::optional<int> m = ParseIntegerText(dimension);
  if (!m) {
    check.message = InvalidIntegerMessage(dimension);
    check.conversion = true;
  } else if (*m < kMinAdvancedDimension || *m > kMaxAdvancedDimension) {
    check.message =
        "Embedding dimension: " + Quoted(dimension) + " must be an integer from 2 to 16.";
  } else {
    check.m = m;
  }
  return check;
}

std::optional<std::string> CheckAdvancedFields(const AdvancedFieldTexts& fields, bool bds_ticked) {
  if (!IsPositiveNumber(fields.eps_low)) {
    return "Epsilon range: " + Quoted(fields.eps_low) + " is not a positive number.";
  }
  if (!IsPositiveNumber(fields.eps_high)) {
    return "Epsilon range: " + Quoted(fields.eps_high) + " is not a positive number.";
  }
  const std::optional<double> intervals = TruncatedCount(fields.intervals, 1);
  if (!intervals) {
    return "Number of intervals: " + Quoted(fields.intervals) + " is not an integer of at least 1.";
  }
  if (!TruncatedCount(fields.constraint, 0)) {
    return "Cm constraint: " + Quoted(fields.constraint) + " is not an integer of at least 0.";
  }
  // Equal ends make every distance of the grid the same: its slope would be
  // the rounding residue of a fit through points of one abscissa.
  if (*intervals > 1 && static_cast<double>(*ReadNumber(fields.eps_low, '.')) ==
                            static_cast<double>(*ReadNumber(fields.eps_high, '.'))) {
    return "Epsilon range: " + Quoted(fields.eps_low) + " - " + Quoted(fields.eps_high) +
           " holds one distance only; with more than one interval its ends must differ.";
  }
  if (bds_ticked && !IsPositiveNumber(fields.bds_eps)) {
    return "Compute BDS for epsilon: " + Quoted(fields.bds_eps) + " is not a positive number.";
  }
  return std::nullopt;
}

}  // namespace ixo

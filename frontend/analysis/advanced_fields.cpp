#include "analysis/advanced_fields.h"

#include <cfloat>
#include <climits>

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
  const std::optional<int> intervals = ParseIntegerText(fields.intervals);
  if (!intervals || *intervals < 1) {
    return "Number of intervals: " + Quoted(fields.intervals) + " is not an integer of at least 1.";
  }
  const std::optional<int> constraint = ParseIntegerText(fields.constraint);
  if (!constraint || *constraint < 0) {
    return "Cm constraint: " + Quoted(fields.constraint) + " is not an integer of at least 0.";
  }
  if (bds_ticked && !IsPositiveNumber(fields.bds_eps)) {
    return "Compute BDS for epsilon: " + Quoted(fields.bds_eps) + " is not a positive number.";
  }
  return std::nullopt;
}

}  // namespace ixo

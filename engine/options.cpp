#include "options.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

namespace ixo {
namespace {

std::string Quoted(const char* text) {
  return std::string("'") + text + "'";
}

// `text` read as a double and truncated toward zero into [low, high]; false
// when the text reads as NaN or the truncated value lies outside the range.
bool TruncatedInteger(const char* text, double low, double high, int* out) {
  double v = std::trunc(std::strtod(text, nullptr));
  if (!(v >= low && v <= high)) return false;
  *out = static_cast<int>(v);
  return true;
}

bool PositiveFinite(const char* text, double* out) {
  double v = std::strtod(text, nullptr);
  if (!(v > 0) || !std::isfinite(v)) return false;
  *out = v;
  return true;
}

CommandLine Fail(std::string message, bool usage_too = false) {
  CommandLine result;
  result.action = CommandLine::Action::kFail;
  result.error = std::move(message);
  result.usage_too = usage_too;
  return result;
}

}  // namespace

int IntegerFromText(const char* text) {
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  long long value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  const int count = argc - 1;
  if (count <= 0) {
    result.action = CommandLine::Action::kShowUsage;
    return result;
  }
  if (count == 2 || count == 3 || count == 5) {
    return Fail("ixo_engine: expected 1, 4, 6 or 7 arguments, got " + std::to_string(count), true);
  }

  Options& o = result.options;
  o.filename = argv[1];
  if (count >= 4) {
    o.m = IntegerFromText(argv[2]);
    if (o.m < 1 || o.m > kMaxDimension) {
      return Fail("ixo_engine: m " + Quoted(argv[2]) + " must be an integer from 1 to " +
                  std::to_string(kMaxDimension));
    }
    if (!PositiveFinite(argv[3], &o.eps_low)) {
      return Fail("ixo_engine: eps_low " + Quoted(argv[3]) + " is not a positive number");
    }
    if (!PositiveFinite(argv[4], &o.eps_high)) {
      return Fail("ixo_engine: eps_high " + Quoted(argv[4]) + " is not a positive number");
    }
  }
  if (count >= 6) {
    if (!TruncatedInteger(argv[5], 1, kMaxSubintervals, &o.subint)) {
      return Fail("ixo_engine: subint " + Quoted(argv[5]) + " must be a number from 1 to " +
                  std::to_string(kMaxSubintervals));
    }
    if (!TruncatedInteger(argv[6], 0, INT_MAX, &o.cm_limit)) {
      return Fail("ixo_engine: cm_limit " + Quoted(argv[6]) + " must be a number from 0 to " +
                  std::to_string(INT_MAX));
    }
  }
  if (count == 7) {
    int mode = IntegerFromText(argv[7]);
    o.write_mode = mode == 1   ? WriteMode::kIxoValue
                   : mode == 2 ? WriteMode::kBds
                               : WriteMode::kReportOnly;
  }
  return result;
}

}  // namespace ixo

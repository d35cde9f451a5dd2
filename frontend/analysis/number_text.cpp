#include "analysis/number_text.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace ixo {
namespace {

// A finite non-zero value as a decimal digit string d1 d2 ... dk (no trailing
// zeros) and the decimal exponent of d1: value = d1.d2...dk x 10^exponent.
struct Decimal {
  bool negative = false;
  std::string digits;  // empty for zero
  int exponent = 0;
};

// `x` rounded to `digits` significant digits (1..18). The C library's
// scientific conversion does the rounding; its output is taken apart without
// relying on the decimal point it used, so the process locale never matters.
Decimal RoundToDigits(long double x, int digits) {
  Decimal d;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%+.*Le", digits - 1, x);
  d.negative = buffer[0] == '-';
  const char* p = buffer + 1;
  for (; *p != 'e' && *p != '\0'; ++p) {
    if (*p >= '0' && *p <= '9') d.digits.push_back(*p);
  }
  d.exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.negative = false;  // -0 and values rounding to 0
  return d;
}

std::string NonFiniteText(long double x) {
  if (std::isnan(x)) return "NAN";
  return x < 0 ? "-INF" : "INF";
}

std::string GeneralText(long double x, char separator, int digits) {
  if (!std::isfinite(x)) return NonFiniteText(x);
  digits = std::clamp(digits, 1, 18);
  const Decimal d = RoundToDigits(x, digits);
  if (d.digits.empty()) return "0";
  std::string text = d.negative ? "-" : "";
  const int count = static_cast<int>(d.digits.size());
  if (d.exponent >= -4 && d.exponent < digits) {
    if (d.exponent < 0) {
      text += '0';
      text += separator;
      text.append(static_cast<size_t>(-d.exponent - 1), '0');
      text += d.digits;
    } else {
      const int integer_digits = d.exponent + 1;
      if (count <= integer_digits) {
        text += d.digits;
        text.append(static_cast<size_t>(integer_digits - count), '0');
      } else {
        text.append(d.digits, 0, static_cast<size_t>(integer_digits));
        text += separator;
        text.append(d.digits, static_cast<size_t>(integer_digits));
      }
    }
    return text;
  }
  text += d.digits[0];
  if (count > 1) {
    text += separator;
    text.append(d.digits, 1);
  }
  text += 'E';
  if (d.exponent < 0) text += '-';
  text += std::to_string(std::abs(d.exponent));
  return text;
}

// The "C" locale, so that the conversion below reads "." whatever the process
// locale says (a toolkit may have set it from the user's settings).
locale_t CLocale() {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c_locale;
}

}  // namespace

std::string GeneralNumberText(double x, char decimal_separator, int digits) {
  return GeneralText(x, decimal_separator, digits);
}

std::string GeneralNumberTextExtended(long double x, char decimal_separator, int digits) {
  return GeneralText(x, decimal_separator, digits);
}

std::string ThreeDecimalText(double x, char decimal_separator) {
  if (!std::isfinite(x)) return NonFiniteText(x);
  if (std::fabs(x) >= 1e10) return GeneralNumberText(x, decimal_separator, 10);
  // Ten significant digits first, then three decimals, both on the decimal
  // digits themselves so that the second rounding sees the first one's result.
  Decimal d = RoundToDigits(x, 10);
  const int kept = d.exponent + 1 + 3;  // digits left of the third decimal
  if (static_cast<int>(d.digits.size()) > kept) {
    if (kept < 0) {
      d.digits.clear();
    } else {
      const bool round_up = d.digits[static_cast<size_t>(kept)] >= '5';
      d.digits.resize(static_cast<size_t>(kept));
      if (round_up) {
        int i = kept - 1;
        while (i >= 0 && d.digits[static_cast<size_t>(i)] == '9') {
          d.digits[static_cast<size_t>(i)] = '0';
          --i;
        }
        if (i >= 0) {
          ++d.digits[static_cast<size_t>(i)];
        } else {
          d.digits.insert(d.digits.begin(), '1');
          ++d.exponent;
        }
      }
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  if (d.digits.empty()) d.negative = false;

  // Lay the digits out on a fixed grid of integer digits and three decimals.
  const int integer_digits = std::max(d.exponent + 1, 1);
  std::string grid(static_cast<size_t>(integer_digits + 3), '0');
  for (size_t i = 0; i < d.digits.size(); ++i) {
    const int position = integer_digits - 1 - d.exponent + static_cast<int>(i);
    if (position >= 0 && position < static_cast<int>(grid.size())) {
      grid[static_cast<size_t>(position)] = d.digits[i];
    }
  }
  std::string text = d.negative ? "-" : "";
  text.append(grid, 0, static_cast<size_t>(integer_digits));
  text += decimal_separator;
  text.append(grid, static_cast<size_t>(integer_digits), 3);
  return text;
}

std::optional<long double> ReadNumber(std::string_view text, char decimal_separator) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  const std::string_view number = text.substr(begin, end - begin);

  auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
  size_t i = 0;
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
  size_t mantissa_digits = 0;
  size_t separator_at = std::string_view::npos;
  for (; i < number.size(); ++i) {
    if (is_digit(number[i])) {
      ++mantissa_digits;
    } else if (number[i] == decimal_separator && separator_at == std::string_view::npos) {
      separator_at = i;
    } else {
      break;
    }
  }
  if (mantissa_digits == 0) return std::nullopt;
  if (i < number.size() && (number[i] == 'E' || number[i] == 'e')) {
    ++i;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
    size_t exponent_digits = 0;
    for (; i < number.size() && is_digit(number[i]); ++i) ++exponent_digits;
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != number.size()) return std::nullopt;

  // The grammar above is a subset of what strtold reads once the separator is
  // a "."; the copy also gives it the terminating NUL it needs.
  std::string c_text(number);
  if (separator_at != std::string_view::npos) c_text[separator_at] = '.';
  errno = 0;
  char* stop = nullptr;
  const long double value = strtold_l(c_text.c_str(), &stop, CLocale());
  if (stop != c_text.c_str() + c_text.size()) return std::nullopt;
  // ERANGE with an infinite result is overflow of the extended range; with a
  // tiny result it is underflow, which reads as that tiny value or zero.
  if (errno == ERANGE && std::isinf(value)) return std::nullopt;
  // Callers work in doubles. Text to extended and then to double rounds twice,
  // and when the first rounding lands exactly halfway between two doubles the
  // second may pick the wrong one; one extended step toward the double nearest
  // the text settles it without changing the value's extended precision.
  const double nearest = strtod_l(c_text.c_str(), nullptr, CLocale());
  if (std::isfinite(nearest) && static_cast<double>(value) != nearest) {
    return std::nextafter(value, static_cast<long double>(nearest));
  }
  return value;
}

}  // namespace ixo

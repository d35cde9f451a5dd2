#include "analysis/chart_value_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ixo {

namespace {

constexpr int kSignificantDigits = 18;
constexpr int kDecimals = 3;

// Adds one unit in the last place of a string of decimal digits.
void IncrementDigits(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

std::string GroupThousands(const std::string& integer_digits, char separator) {
  std::string grouped;
  const size_t n = integer_digits.size();
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) grouped += separator;
    grouped += integer_digits[i];
  }
  return grouped;
}

}  // namespace

std::string ChartValueText(double x, char decimal_separator, char thousands_separator) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x < 0 ? "-INF" : "INF";

  // The magnitude as 18 significant digits and a decimal exponent.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", kSignificantDigits - 1, std::fabs(x));
  std::string mantissa;
  const char* p = buffer;
  for (; *p != 'e'; ++p) {
    if (*p != '.') mantissa += *p;
  }
  const int point = std::atoi(p + 1) + 1;  // digits before the decimal point

  std::string integer_part;
  std::string fraction;
  if (point <= 0) {
    integer_part = "0";
    fraction = std::string(static_cast<size_t>(-point), '0') + mantissa;
  } else if (point >= kSignificantDigits) {
    integer_part = mantissa + std::string(static_cast<size_t>(point - kSignificantDigits), '0');
  } else {
    integer_part = mantissa.substr(0, static_cast<size_t>(point));
    fraction = mantissa.substr(static_cast<size_t>(point));
  }
  fraction.resize(std::max<size_t>(fraction.size(), kDecimals + 1), '0');

  // Round half away from zero at the third decimal, carrying into the integer part.
  std::string digits = integer_part + fraction.substr(0, kDecimals);
  if (fraction[kDecimals] >= '5') IncrementDigits(digits);
  integer_part = digits.substr(0, digits.size() - kDecimals);
  fraction = digits.substr(digits.size() - kDecimals);

  const size_t first_nonzero = integer_part.find_first_not_of('0');
  integer_part = first_nonzero == std::string::npos ? "0" : integer_part.substr(first_nonzero);
  const size_t last_nonzero = fraction.find_last_not_of('0');
  fraction = last_nonzero == std::string::npos ? "" : fraction.substr(0, last_nonzero + 1);

  std::string text;
  if (x < 0 && (integer_part != "0" || !fraction.empty())) text += '-';
  text += GroupThousands(integer_part, thousands_separator);
  if (!fraction.empty()) {
    text += decimal_separator;
    text += fraction;
  }
  return text;
}

}  // namespace ixo

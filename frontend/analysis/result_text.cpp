#include "analysis/result_text.h"

#include <algorithm>
#include <charconv>

namespace ixo {

namespace {

constexpr size_t kMaxWordLength = kResultTextLength - 1;

bool IsSkipped(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A word ends at a blank or any control character.
bool EndsWord(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' || byte == 0x7f;
}

size_t CountDigits(std::string_view text, size_t& pos) {
  const size_t start = pos;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
  return pos - start;
}

// Checks [+-] digits [. digits] [(e|E) [+-] digits], with at least one mantissa
// digit, and finds the power of ten of the leading non-zero digit, which tells
// an overflow from an underflow when the conversion falls outside the range.
bool IsDecimalNumber(std::string_view word, long& leading_power) {
  size_t pos = 0;
  if (pos < word.size() && (word[pos] == '+' || word[pos] == '-')) ++pos;
  const size_t integer_start = pos;
  const size_t integer_digits = CountDigits(word, pos);
  size_t fraction_start = pos;
  size_t fraction_digits = 0;
  if (pos < word.size() && word[pos] == '.') {
    fraction_start = ++pos;
    fraction_digits = CountDigits(word, pos);
  }
  if (integer_digits + fraction_digits == 0) return false;
  long exponent = 0;
  if (pos < word.size() && (word[pos] == 'e' || word[pos] == 'E')) {
    ++pos;
    bool negative = false;
    if (pos < word.size() && (word[pos] == '+' || word[pos] == '-')) negative = word[pos++] == '-';
    const size_t exponent_start = pos;
    if (CountDigits(word, pos) == 0) return false;
    // Capped far beyond any double so that long exponents cannot overflow.
    for (size_t i = exponent_start; i < pos; ++i) {
      exponent = std::min(exponent * 10 + (word[i] - '0'), 1000000L);
    }
    if (negative) exponent = -exponent;
  }
  if (pos != word.size()) return false;

  leading_power = 0;
  size_t first = integer_start;
  while (first < integer_start + integer_digits && word[first] == '0') ++first;
  if (first < integer_start + integer_digits) {
    leading_power = static_cast<long>(integer_start + integer_digits - first) - 1;
  } else {
    size_t i = fraction_start;
    while (i < fraction_start + fraction_digits && word[i] == '0') ++i;
    leading_power = -static_cast<long>(i - fraction_start) - 1;
  }
  leading_power += exponent;
  return true;
}

ResultRead Failed(std::string error) {
  ResultRead result;
  result.status = ResultRead::Status::kFailed;
  result.error = std::move(error);
  return result;
}

ResultRead Value(double value) {
  ResultRead result;
  result.status = ResultRead::Status::kValue;
  result.value = value;
  return result;
}

}  // namespace

ResultRead ParseResultText(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsSkipped(text[pos])) ++pos;
  if (pos == text.size()) return Value(0.0);

  size_t end = pos;
  while (end < text.size() && !EndsWord(text[end])) ++end;
  // A longer word is refused rather than cut: its first 64 characters could
  // well read as a number, but not as the number that was written.
  if (end - pos > kMaxWordLength) return Failed(std::string(kInvalidNumericInput));
  std::string_view word = text.substr(pos, end - pos);

  long leading_power = 0;
  if (!IsDecimalNumber(word, leading_power)) return Failed(std::string(kInvalidNumericInput));
  const bool negative = word.front() == '-';
  if (word.front() == '+' || negative) word.remove_prefix(1);

  double value = 0.0;
  const auto [stop, error] =
      std::from_chars(word.data(), word.data() + word.size(), value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // Too large for a double is not a number we could show; too small is 0.
    if (leading_power > 0) return Failed(std::string(kInvalidNumericInput));
    value = 0.0;
  } else if (error != std::errc() || stop != word.data() + word.size()) {
    return Failed(std::string(kInvalidNumericInput));
  }
  return Value(negative ? -value : value);
}

ResultRead ReadResultText(const ResultFileText& file) {
  if (!file.present) return ResultRead{};
  if (!file.error.empty()) return Failed(file.error);
  return ParseResultText(file.text);
}

}  // namespace ixo

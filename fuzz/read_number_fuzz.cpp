// Fuzz target: ReadNumber under either decimal separator, and the number text
// made from what it reads.
//
// Input layout: the low bit of byte 0 picks the separator ("." or ","); the
// rest is the text.
//
// Checked: ReadNumber accepts exactly the texts of its grammar (spaces, a sign
// glued to the mantissa, digits with at most one separator, an optional
// exponent, spaces), apart from values beyond the extended range; an accepted
// text reads to the value the C library gives it (or one extended step from it
// toward the double nearest the text, which mends a double rounding), and
// converts to that nearest double; and for every value within
// the double range, GeneralNumberText of it reads back with ReadNumber to the
// same double rounded to 15 significant digits. The same round trip holds for
// the extended-precision text the import makes its entries from.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/number_text.h"
#include "analysis/series_entries.h"
#include "fuzz_check.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The grammar, written out independently of the reader under test.
bool MatchesGrammar(std::string_view text, char separator) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  int separators = 0;
  while (i < text.size() && (IsDigit(text[i]) || text[i] == separator)) {
    if (text[i] == separator) {
      if (++separators > 1) return false;
    } else {
      ++digits;
    }
    ++i;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const size_t start = i;
    while (i < text.size() && IsDigit(text[i])) ++i;
    if (i == start) return false;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  return i == text.size();
}

// The C library's reading of a text of the grammar, with "." as separator:
// the extended value, and the double nearest the text (errno as strtold left it).
struct LibraryValue {
  long double extended = 0;
  double nearest = 0;
};

LibraryValue LibraryRead(std::string_view text, char separator) {
  std::string c_text(text);
  for (char& c : c_text) {
    if (c == separator) c = '.';
  }
  LibraryValue v;
  v.nearest = std::strtod(c_text.c_str(), nullptr);
  errno = 0;
  v.extended = std::strtold(c_text.c_str(), nullptr);
  return v;
}

// A reading is right when it is the extended value, or one extended step from
// it toward the double nearest the text (which mends a double rounding), and
// when that double is what it converts to.
bool RightReading(long double read, const LibraryValue& v) {
  if (!std::isfinite(v.nearest)) return read == v.extended;
  if (static_cast<double>(read) != v.nearest) return false;
  return read == v.extended ||
         read == std::nextafter(v.extended, static_cast<long double>(v.nearest));
}

// `x` rounded to 15 significant digits by the C library, read back as a double.
double RoundedTo15(double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", x);
  return std::strtod(text, nullptr);
}

LibraryValue RoundedTo15(long double x) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14Le", x);
  return LibraryRead(text, '.');
}

// A number text must hold no blank, no "+", and no separator but `separator`.
void CheckTextForm(const std::string& text, char separator) {
  const char other = separator == '.' ? ',' : '.';
  IXO_FUZZ_CHECK(!text.empty());
  IXO_FUZZ_CHECK(text.find(' ') == std::string::npos);
  IXO_FUZZ_CHECK(text.find('+') == std::string::npos);
  IXO_FUZZ_CHECK(text.find(other) == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char separator = (data[0] & 1) ? ',' : '.';
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  const std::optional<long double> read = ixo::ReadNumber(text, separator);
  const bool grammar = MatchesGrammar(text, separator);
  if (!grammar) {
    IXO_FUZZ_CHECK(!read.has_value());
    return 0;
  }
  const LibraryValue expected = LibraryRead(text, separator);
  if (!read) {
    // The only refusal of a text of the grammar: beyond the extended range.
    IXO_FUZZ_CHECK(std::isinf(expected.extended) && errno == ERANGE);
    return 0;
  }
  IXO_FUZZ_CHECK(std::isfinite(*read));
  IXO_FUZZ_CHECK(RightReading(*read, expected));

  // The double the front end works with, as text and back.
  const double value = static_cast<double>(*read);
  if (std::isfinite(value)) {
    const std::string shown = ixo::GeneralNumberText(value, separator);
    CheckTextForm(shown, separator);
    const std::optional<long double> back = ixo::ReadNumber(shown, separator);
    IXO_FUZZ_CHECK(back.has_value());
    IXO_FUZZ_CHECK(static_cast<double>(*back) == RoundedTo15(value));
  }

  // The entry text the import makes, from the value at its full precision.
  const std::string extended = ixo::GeneralNumberTextExtended(*read, separator);
  CheckTextForm(extended, separator);
  const std::optional<long double> extended_back = ixo::ReadNumber(extended, separator);
  IXO_FUZZ_CHECK(extended_back.has_value());
  IXO_FUZZ_CHECK(RightReading(*extended_back, RoundedTo15(*read)));
  const std::string entry = ixo::EntryText(*read, separator);
  IXO_FUZZ_CHECK(ixo::ReadNumber(entry, separator) == extended_back);
  IXO_FUZZ_CHECK(ixo::ReadNumber(ixo::EntryFileForm(entry), '.') == extended_back);
  return 0;
}

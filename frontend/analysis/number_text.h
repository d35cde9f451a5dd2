// The front end's three number forms. Every number a window shows or reads back
// goes through these, with the decimal separator passed in by the caller (the
// window takes it from the user's locale); nothing here looks at global state.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ixo {

// `x` rounded to `digits` significant digits: fixed notation from 1E-4 up to
// (not including) 10^digits, scientific ("1.5E20", "2.5E-7") outside it; no
// trailing zeros, no blanks, no "+". 0 gives "0".
std::string GeneralNumberText(double x, char decimal_separator, int digits = 15);

// The same form for an extended-precision value, rounded once from its full
// precision (the import makes entry texts from the number as read). `digits`
// is clamped to 1..18 here and above; NaN and infinities give "NAN", "INF", "-INF".
std::string GeneralNumberTextExtended(long double x, char decimal_separator, int digits = 15);

// `x` with exactly three decimals ("2.500", "-0.555"), after rounding to ten
// significant digits; a value that rounds to zero gives "0.000" without a sign.
// Magnitudes of 1E10 and above fall back to GeneralNumberText(x, separator, 10).
std::string ThreeDecimalText(double x, char decimal_separator);

// The whole of `text` as a number: spaces, an optional sign glued to the
// mantissa, digits with at most one `decimal_separator`, an optional exponent,
// spaces. Values beyond the double range but within the 80-bit extended range
// are accepted (the caller decides what follows). Anything else is nullopt.
std::optional<long double> ReadNumber(std::string_view text, char decimal_separator);

}  // namespace ixo

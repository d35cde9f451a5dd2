// The text of a value mark above a histogram bar. Chart marks use the number
// pattern "#,##0.###": thousands grouped, at least one integer digit, at most
// three decimals with trailing zeros dropped, and no decimal separator when
// nothing follows it.
#pragma once

#include <string>

namespace ixo {

// `x` in the pattern "#,##0.###" with the given separators: 0.25 -> "0.25",
// 0.0625 -> "0.063", 1234.5 -> "1,234.5", 0 -> "0". Rounds half away from zero
// on the decimal digits of `x` (18 significant digits, as the platform formats
// them). A value that rounds to zero has no sign; NaN and infinities give
// "NAN", "INF" and "-INF".
std::string ChartValueText(double x, char decimal_separator, char thousands_separator);

}  // namespace ixo

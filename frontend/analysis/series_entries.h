// The entries of an imported series: how a line of a data file becomes a value,
// how a value is held as the text of an observation-list entry, how an entry is
// written to input.tmp.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ixo {

// The import keeps at most this many values; lines after the last one are not read.
inline constexpr int kMaxObservations = 10000;

// The value of one data-file line: the whole line read with ReadNumber under
// `decimal_separator`, or, when that fails, once more with its first "." turned
// into "," (or, lacking a ".", its first "," into "."). nullopt when both fail.
// `line` is taken by value and reused for the second try.
std::optional<long double> LineValue(std::string line, char decimal_separator);

// The entry text of `value`: GeneralNumberText with 15 significant digits, one
// leading space for values of 0 or more: " 2.5", "-3", " 1E-5".
std::string EntryText(long double value, char decimal_separator);

// The line input.tmp holds for `entry_text` (without its line end): every ","
// turned into "." and every space removed.
std::string EntryFileForm(std::string_view entry_text);

}  // namespace ixo

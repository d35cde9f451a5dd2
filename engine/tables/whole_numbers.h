// Strict readers of a number that is a whole text (an option's value, a CSV
// field): the text is consumed entirely in the C locale's form, whatever the
// process locale, or nothing is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ixo {

// A finite double written as from_chars reads it ("0.6", "-1e-3", "2"); none
// for an empty text, a leading '+' or blank, anything left over, "inf", "nan"
// or a value beyond the double range.
std::optional<double> WholeDouble(std::string_view text);

// An integer in [low, high] in decimal digits with an optional '-'; none
// otherwise (a leading '+' included).
std::optional<long long> WholeInteger(std::string_view text, long long low, long long high);

// An unsigned 64-bit integer in decimal digits; none otherwise.
std::optional<std::uint64_t> WholeUnsigned(std::string_view text);

}  // namespace ixo

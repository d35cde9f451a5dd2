// Checks of the advanced tab's fields before an advanced run starts. The
// engine reads its arguments with the C conversions, so numbers are checked
// with a point as the decimal separator whatever the user's locale; a field
// that passes holds no inner blank and so stays one word of the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ixo {

// The field texts as typed.
struct AdvancedFieldTexts {
  std::string eps_low;     // Edit2, the lower end of the epsilon range
  std::string eps_high;    // Edit4, its upper end
  std::string intervals;   // Edit5, the number of intervals of the distance grid
  std::string constraint;  // Edit6, the Cm constraint (the engine's cm_limit)
  std::string dimension;   // Edit7, the embedding dimension
  std::string bds_eps;     // Edit8, the BDS distance, as a fraction of the sd
};

// `text` as a 32-bit integer the way the integer conversion reads it: leading
// blanks, an optional sign, decimal digits and nothing after them. nullopt
// when it is not such a number or does not fit.
[[nodiscard]] std::optional<int> ParseIntegerText(std::string_view text);

// "'<text>' is not a valid integer value", the conversion error for `text`.
std::string InvalidIntegerMessage(const std::string& text);

// The embedding dimension of `dimension` (Edit7), or the message that refuses it: the
// conversion error for a non-integer, a range message outside 2 to 16.
struct DimensionCheck {
  std::optional<int> m;
  std::string message;      // empty when m holds a value
  bool conversion = false;  // the message is the conversion error
};
[[nodiscard]] DimensionCheck CheckDimensionText(const std::string& dimension);

// The message naming the first unusable field, nullopt when all are usable:
// the epsilon range two positive numbers, the intervals an integer of at
// least 1, the constraint one of at least 0, and the BDS distance a positive
// number when `bds_ticked`.
[[nodiscard]] std::optional<std::string> CheckAdvancedFields(const AdvancedFieldTexts& fields,
                                                             bool bds_ticked);

}  // namespace ixo

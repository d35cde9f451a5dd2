// Reading the permutation p-values that `ixo_cli ixo --format csv` writes to
// pvalues.tmp for the basic run's extra step: a header line
// "file,n,m,ixo,points,class,verdict,p_value,p_adjusted", one row per
// dimension and a last row with m "all" for the overall test, the p-values
// full-precision numbers (the header without p_adjusted and its rows, as
// earlier builds wrote them, are read too). Fields may be quoted as CSV
// quotes them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "tables/csv_fields.h"

namespace ixo {

inline constexpr std::string_view kPValueHeader = kIxoTestHeader;
// The header of earlier builds, without p_adjusted and the overall row.
inline constexpr std::string_view kUnadjustedPValueHeader =
    "file,n,m,ixo,points,class,verdict,p_value";

// The p-value of each dimension, or why the text gives none.
struct PValueTable {
  std::map<int, double> p_values;  // by dimension m; none for a dimension without a value
  std::optional<std::string> error;
  std::map<int, double> adjusted;  // by dimension m, where the text has p_adjusted
  std::optional<double> overall;   // the row with m "all", where there is one
};

// Reads `text`: one of the two headers exactly as above, then rows of as many
// fields whose m is an integer and whose p_value (and p_adjusted) is a number
// from 0 to 1 (the whole field), or empty beside an empty ixo value (a
// dimension without an Ixo value, which gets no entry); with p_adjusted a row
// with m "all" gives the overall p-value. A wrong header, a row of another
// width, an unreadable m or p-value, or a dimension given twice is an error
// naming the line; so is a text with no dimension.
[[nodiscard]] PValueTable ParsePValueTable(std::string_view text);

// The line under the grid for the overall p-value of a permutation run (the
// smallest adjusted p-value): below 0.05 kFamilyRejected, otherwise
// kFamilyNotRejected, as the significance column reads "reject at 5%".
inline constexpr const char* kFamilyRejected = "i.i.d. rejected at 5 % (all dimensions)";
inline constexpr const char* kFamilyNotRejected = "i.i.d. not rejected at 5 % (all dimensions)";
std::string FamilyVerdictLine(double overall_p_value);

}  // namespace ixo

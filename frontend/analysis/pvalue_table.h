// Reading the permutation p-values that `ixo_cli ixo --format csv` writes to
// pvalues.tmp for the basic run's extra step: a header line
// "file,n,m,ixo,points,class,verdict,p_value" and one row per dimension, the
// p-value a full-precision number. Fields may be quoted as CSV quotes them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "tables/csv_fields.h"

namespace ixo {

inline constexpr std::string_view kPValueHeader = kIxoTestHeader;

// The p-value of each dimension, or why the text gives none.
struct PValueTable {
  std::map<int, double> p_values;  // by dimension m; none for a dimension without a value
  std::optional<std::string> error;
};

// Reads `text`: the header exactly as above, then rows of eight fields whose m
// is an integer and whose p_value is a number from 0 to 1 (the whole field),
// or empty beside an empty ixo value (a dimension without an Ixo value, which
// gets no entry). A wrong header, a row of another width, an unreadable m or
// p-value, or a dimension given twice is an error naming the line; so is a
// text with no row.
[[nodiscard]] PValueTable ParsePValueTable(std::string_view text);

// The significance of a p-value: below 0.01 "reject at 1%", below 0.02
// "reject at 2%", below 0.05 "reject at 5%", below 0.10 "reject at 10%",
// otherwise "do not reject".
std::string PValueVerdict(double p_value);

}  // namespace ixo

// The fields of the CSV the programs exchange, both ways: a field as the
// writer (ixo_cli) quotes it, a line as the reader (the window) splits it,
// and the header lines of the exchange files.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ixo {

// The header of the rows of `ixo_cli ixo` (pvalues.tmp): one per dimension,
// then the overall row.
inline constexpr const char* kIxoTestHeader =
    "file,n,m,ixo,points,class,verdict,p_value,p_adjusted";
// The headers of the two blocks of `ixo_cli curves` (curves.tmp): the grid
// points, and after an empty line the fitted lines.
inline constexpr const char* kCurvePointsHeader = "m,k,eps,x,pairs,y,used";
inline constexpr const char* kCurveFitsHeader = "m,slope,intercept,points";

// `text` as one CSV field: unchanged unless it holds a comma, a quote or a
// line break, else in double quotes with each quote doubled.
std::string QuotedCsvField(const std::string& text);

// The fields of one CSV line (without its line end): separated by commas; a
// field in double quotes may hold commas, and "" inside it stands for one
// quote. None when a quote does not close.
std::optional<std::vector<std::string>> SplitCsvLine(std::string_view line);

// The column names of a header line such as kIxoTestHeader.
std::vector<std::string> HeaderColumns(std::string_view header);

}  // namespace ixo

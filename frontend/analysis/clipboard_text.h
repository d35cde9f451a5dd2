// The results table as it goes to the clipboard: tab-separated plain text that
// spreadsheets take as it is, under a fixed header line whatever the grid's own
// header row says.
#pragma once

#include <string>
#include <vector>

namespace ixo {

inline constexpr const char* kClipboardHeader = "dimension\tIxo\tsignificance\r\n";
// The header when the grid shows the permutation p-values as a fourth column.
inline constexpr const char* kClipboardPValueHeader = "dimension\tIxo\tsignificance\tp-value\r\n";

// kClipboardHeader followed by one line per entry of `rows`, top to bottom: the
// cells left to right, separated by one tab, the line ended by CR LF. An empty
// cell stays empty, so a row of three empty cells gives "\t\t\r\n". With
// `p_value_column` the header is kClipboardPValueHeader instead. A non-empty
// `verdict_line` (the overall verdict under the grid) follows the rows as one
// more line of its own, ended by CR LF.
std::string ResultsClipboardText(const std::vector<std::vector<std::string>>& rows,
                                 bool p_value_column = false, const std::string& verdict_line = "");

}  // namespace ixo

// The results table as it goes to the clipboard: tab-separated plain text that
// spreadsheets take as it is, under a fixed header line whatever the grid's own
// header row says.
#pragma once

#include <string>
#include <vector>

namespace ixo {

inline constexpr const char* kClipboardHeader = "dimension\tIxo\tsignificance\r\n";

// kClipboardHeader followed by one line per entry of `rows`, top to bottom: the
// cells left to right, separated by one tab, the line ended by CR LF. An empty
// cell stays empty, so a row of three empty cells gives "\t\t\r\n".
std::string ResultsClipboardText(const std::vector<std::vector<std::string>>& rows);

}  // namespace ixo

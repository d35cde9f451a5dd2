#include "analysis/clipboard_text.h"

namespace ixo {

std::string ResultsClipboardText(const std::vector<std::vector<std::string>>& rows,
                                 bool p_value_column, const std::string& verdict_line) {
  std::string text = p_value_column ? kClipboardPValueHeader : kClipboardHeader;
  for (const std::vector<std::string>& row : rows) {
    for (size_t column = 0; column < row.size(); ++column) {
      text += row[column];
      if (column + 1 < row.size()) text += '\t';
    }
    text += "\r\n";
  }
  if (!verdict_line.empty()) text += verdict_line + "\r\n";
  return text;
}

}  // namespace ixo

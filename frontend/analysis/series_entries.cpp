#include "analysis/series_entries.h"

#include "analysis/number_text.h"

namespace ixo {

std::optional<long double> LineValue(std::string line, char decimal_separator) {
  if (auto value = ReadNumber(line, decimal_separator)) return value;
  if (const size_t point = line.find('.'); point != std::string::npos) {
    line[point] = ',';
  } else if (const size_t comma = line.find(','); comma != std::string::npos) {
    line[comma] = '.';
  } else {
    return std::nullopt;  // the second reading would see the same text
  }
  return ReadNumber(line, decimal_separator);
}

std::string EntryText(long double value, char decimal_separator) {
  std::string text = GeneralNumberTextExtended(value, decimal_separator, 15);
  if (text[0] != '-') text.insert(text.begin(), ' ');
  return text;
}

std::string EntryFileForm(std::string_view entry_text) {
  std::string form;
  form.reserve(entry_text.size());
  for (const char c : entry_text) {
    if (c == ' ') continue;
    form += c == ',' ? '.' : c;
  }
  return form;
}

}  // namespace ixo

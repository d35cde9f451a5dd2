#include "result_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "tables/csv_fields.h"
#include "tables/whole_numbers.h"

namespace ixo {
namespace {

std::string JsonString(const std::string& text) {
  std::string quoted = "\"";
  for (char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      quoted += '\\';
      quoted += ch;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      quoted += escaped;
    } else {
      quoted += ch;
    }
  }
  return quoted + "\"";
}

std::string JsonValue(const Cell& cell) {
  if (cell.text.empty()) return "null";
  if (!cell.number) return JsonString(cell.text);
  // JSON has no NaN or infinity: a number cell that does not read back as a
  // finite number is written as null.
  return WholeDouble(cell.text) ? cell.text : "null";
}

std::string Csv(const ResultTable& table) {
  std::string text;
  const auto line = [&](const auto& fields, const auto& field_text) {
    for (std::size_t c = 0; c < fields.size(); ++c) {
      if (c > 0) text += ',';
      text += QuotedCsvField(field_text(fields[c]));
    }
    text += '\n';
  };
  line(table.columns, [](const std::string& name) { return name; });
  for (const auto& row : table.rows) line(row, [](const Cell& cell) { return cell.text; });
  return text;
}

std::string Json(const ResultTable& table) {
  std::string text = "[";
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    text += r ? ",\n  {" : "\n  {";
    for (std::size_t c = 0; c < table.columns.size(); ++c)
      text += (c ? ", " : "") + JsonString(table.columns[c]) + ": " + JsonValue(table.rows[r][c]);
    text += "}";
  }
  return text + (table.rows.empty() ? "]\n" : "\n]\n");
}

// Columns two blanks apart; numbers to the right, texts to the left.
std::string Aligned(const ResultTable& table) {
  const auto shown = [](const Cell& cell) { return cell.text.empty() ? "-" : cell.text; };
  std::vector<std::size_t> width(table.columns.size());
  for (std::size_t c = 0; c < width.size(); ++c) {
    width[c] = table.columns[c].size();
    for (const auto& row : table.rows) width[c] = std::max(width[c], shown(row[c]).size());
  }
  const auto line = [&](const std::vector<std::string>& texts, const std::vector<bool>& right) {
    std::string text;
    for (std::size_t c = 0; c < texts.size(); ++c) {
      const std::string pad(width[c] - texts[c].size(), ' ');
      const bool last = c + 1 == texts.size();
      text += (c ? "  " : "") + (right[c] ? pad + texts[c] : texts[c] + (last ? "" : pad));
    }
    return text + "\n";
  };
  // A column of numbers is one whose cells that hold anything are numbers, so
  // that a first row without a value does not turn it to the left.
  std::vector<bool> right(width.size(), false);
  for (std::size_t c = 0; c < width.size(); ++c) {
    for (const auto& row : table.rows) {
      if (row[c].text.empty()) continue;
      right[c] = row[c].number;
      break;
    }
  }
  std::string text = line(table.columns, right);
  for (const auto& row : table.rows) {
    std::vector<std::string> texts;
    for (const Cell& cell : row) texts.push_back(shown(cell));
    text += line(texts, right);
  }
  return text;
}

}  // namespace

std::optional<OutputFormat> FormatNamed(const std::string& name) {
  if (name == "table") return OutputFormat::kTable;
  if (name == "csv") return OutputFormat::kCsv;
  if (name == "json") return OutputFormat::kJson;
  return std::nullopt;
}

std::string Written(const ResultTable& table, OutputFormat format) {
  switch (format) {
    case OutputFormat::kCsv:
      return Csv(table);
    case OutputFormat::kJson:
      return Json(table);
    case OutputFormat::kTable:
      break;
  }
  return Aligned(table);
}

std::string NumberText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : "nan";
}

Cell NumberCell(std::optional<double> value) {
  if (!value) return Cell{};
  return Cell{NumberText(*value), true};
}

Cell IntegerCell(long long value) {
  return Cell{std::to_string(value), true};
}

Cell TextCell(std::string text) {
  return Cell{std::move(text), false};
}

}  // namespace ixo

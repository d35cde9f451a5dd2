// A subcommand's results as one table of texts, and its three written forms:
// aligned columns for reading, CSV for scripts, JSON for programs.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ixo {

enum class OutputFormat { kTable, kCsv, kJson };

// One cell: its text, and whether it is a number (JSON writes it unquoted). An
// empty cell stands for a value that does not exist: empty in CSV, "-" in the
// table, null in JSON.
struct Cell {
  std::string text;
  bool number = false;
};

struct ResultTable {
  std::vector<std::string> columns;
  std::vector<std::vector<Cell>> rows;  // each with one cell per column
};

// "table", "csv" or "json"; nothing for any other name.
std::optional<OutputFormat> FormatNamed(const std::string& name);

// The table in `format`, ending with a line break: CSV with the column names
// as header and fields quoted where they hold a comma, quote or line break;
// JSON as an array of objects keyed by column name, a number that is not
// finite written as null.
std::string Written(const ResultTable& table, OutputFormat format);

// The shortest text that reads back as `value` ("0.736", "1e-05", "2");
// "nan", "inf" and "-inf" for the values that are no number.
std::string NumberText(double value);

// A number cell of NumberText(value); an empty cell for no value.
Cell NumberCell(std::optional<double> value);
Cell IntegerCell(long long value);
Cell TextCell(std::string text);

}  // namespace ixo

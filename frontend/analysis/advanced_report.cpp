#include "analysis/advanced_report.h"

#include "analysis/number_text.h"

namespace ixo {

std::vector<std::string> IxoReportLines(const IxoReportFields& fields, double value,
                                        char decimal_separator) {
  std::vector<std::string> lines = {
      "--------------------",
      " Input filename: " + fields.file_name,
      " Epsilon range: " + fields.eps_low + " - " + fields.eps_high,
      " Embedding dimension: " + fields.dimension,
  };
  if (fields.intervals) lines.push_back(" Number of intervals: " + *fields.intervals);
  if (fields.constraint) lines.push_back(" Correlation integral constraint: " + *fields.constraint);
  lines.push_back(" Ixo = " + GeneralNumberText(value, decimal_separator));
  return lines;
}

std::string BdsReportLine(double value, const std::string& dimension, const std::string& bds_eps,
                          char decimal_separator) {
  return " BDS = " + GeneralNumberText(value, decimal_separator) + " (m = " + dimension +
         "; epsilon = " + bds_eps + ")";
}

}  // namespace ixo

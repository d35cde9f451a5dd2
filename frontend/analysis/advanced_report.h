// The lines an advanced run appends to its report: a block for the Ixo pass
// and one line for the BDS pass. Field texts appear exactly as typed; values
// in GeneralNumberText with the window's decimal separator.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace ixo {

// What the Ixo block shows, read from the controls when the block is written.
struct IxoReportFields {
  std::string file_name;                  // caption of Label34
  std::string eps_low;                    // Edit2
  std::string eps_high;                   // Edit4
  std::string dimension;                  // Edit7
  std::optional<std::string> intervals;   // Edit5, only when CheckBox3 is ticked
  std::optional<std::string> constraint;  // Edit6, only when CheckBox2 is ticked
};

// The hyphen line, file name, range, dimension, optional intervals and
// constraint lines, and " Ixo = <value>": five to seven lines.
std::vector<std::string> IxoReportLines(const IxoReportFields& fields, double value,
                                        char decimal_separator);

// " BDS = <value> (m = <dimension>; epsilon = <bds_eps>)", from Edit7 and Edit8.
std::string BdsReportLine(double value, const std::string& dimension, const std::string& bds_eps,
                          char decimal_separator);

}  // namespace ixo

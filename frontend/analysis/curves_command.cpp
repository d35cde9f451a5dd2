#include "analysis/curves_command.h"

#include <array>

namespace ixo {

std::string CurvesCommandLine(int m, int eps_range) {
  static constexpr std::array<const char*, 4> kRanges = {"0.60:1.90", "0.25:1.00", "0.50:1.50",
                                                         "0.25:2.00"};
  std::string line = std::string(kCliName) + " curves input.tmp --m " + std::to_string(m);
  if (eps_range >= 0 && eps_range < static_cast<int>(kRanges.size())) {
    line += std::string(" --eps ") + kRanges[eps_range];
  }
  return line + " --format csv --output " + kCurvesFileName;
}

}  // namespace ixo

#include "analysis/curves_command.h"

#include "tables/critical_values.h"

namespace ixo {

std::string CurvesCommandLine(int m, int eps_range) {
  std::string line = std::string(kCliName) + " curves input.tmp --m " + std::to_string(m);
  if (const std::string range = TabulatedRangeText(eps_range, ':'); !range.empty()) {
    line += " --eps " + range;
  }
  return line + " --format csv --output " + kCurvesFileName;
}

}  // namespace ixo

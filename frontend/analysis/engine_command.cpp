#include "analysis/engine_command.h"

#include <array>

namespace ixo {

namespace {

const std::string kPrefix = std::string(kEngineName) + " input.tmp ";

}  // namespace

std::string BasicCommandLine(int m, int eps_range) {
  static constexpr std::array<const char*, 4> kTails = {" 0.60 1.90 40 50 1", " 0.25 1.00 40 50 1",
                                                        " 0.50 1.50 40 50 1", " 0.25 2.00 40 50 1"};
  std::string line = kPrefix + std::to_string(m);
  if (eps_range >= 0 && eps_range < static_cast<int>(kTails.size())) line += kTails[eps_range];
  return line;
}

std::string AdvancedIxoCommandLine(int m, const std::string& edit2, const std::string& edit4,
                                   const std::string& edit5, const std::string& edit6) {
  return kPrefix + std::to_string(m) + " " + edit2 + " " + edit4 + " " + edit5 + " " + edit6 + " 1";
}

std::string BdsCommandLine(const std::string& edit7, const std::string& edit8) {
  return kPrefix + edit7 + " " + edit8 + " 1 1 1 2";
}

}  // namespace ixo

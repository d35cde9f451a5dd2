#include "analysis/engine_command.h"

#include <array>

#include "analysis/exchange_files.h"

namespace ixo {

namespace {

const std::string kPrefix = std::string(kEngineName) + " " + kInputFileName + " ";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view command_line) {
  std::vector<std::string> words;
  size_t pos = 0;
  while (pos < command_line.size()) {
    while (pos < command_line.size() && IsBlank(command_line[pos])) ++pos;
    const size_t start = pos;
    while (pos < command_line.size() && !IsBlank(command_line[pos])) ++pos;
    if (pos > start) words.emplace_back(command_line.substr(start, pos - start));
  }
  return words;
}

std::string BasicCommandLine(int m, int eps_range) {
  static constexpr std::array<const char*, 4> kTails = {" 0.60 1.90 40 50 1", " 0.25 1.00 40 50 1",
                                                        " 0.50 1.50 40 50 1", " 0.25 2.00 40 50 1"};
  std::string line = kPrefix + std::to_string(m);
  if (eps_range >= 0 && eps_range < static_cast<int>(kTails.size())) line += kTails[eps_range];
  return line;
}

std::string AdvancedIxoCommandLine(int m, const std::string& eps_low, const std::string& eps_high,
                                   const std::string& intervals, const std::string& constraint) {
  return kPrefix + std::to_string(m) + " " + eps_low + " " + eps_high + " " + intervals + " " +
         constraint + " 1";
}

std::string BdsCommandLine(const std::string& dimension, const std::string& bds_eps) {
  return kPrefix + dimension + " " + bds_eps + " 1 1 1 2";
}

}  // namespace ixo

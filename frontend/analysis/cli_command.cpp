#include "analysis/cli_command.h"

#include <array>

#include "analysis/exchange_files.h"

namespace ixo {

std::vector<std::string> CliArguments(const CliRequest& request) {
  static constexpr std::array<const char*, 4> kRanges = {"0.60:1.90", "0.25:1.00", "0.50:1.50",
                                                         "0.25:2.00"};
  const bool known = request.eps_range >= 0 && request.eps_range < static_cast<int>(kRanges.size());
  std::vector<std::string> words = {kCliName,
                                    request.subcommand,
                                    kInputFileName,
                                    "--m",
                                    std::to_string(request.m),
                                    "--eps",
                                    known ? kRanges[request.eps_range] : ""};
  words.insert(words.end(), request.options.begin(), request.options.end());
  words.insert(words.end(), {"--output", request.output, "--format", "csv"});
  return words;
}

std::vector<std::string> PermutationArguments(int m, int eps_range,
                                              const std::string& program_directory) {
  return CliArguments(
      {"ixo", m, eps_range, {"--reps", "999"}, program_directory + kPValuesFileName});
}

std::vector<std::string> CurvesArguments(int m, int eps_range,
                                         const std::string& program_directory) {
  return CliArguments({"curves", m, eps_range, {}, program_directory + kCurvesFileName});
}

}  // namespace ixo

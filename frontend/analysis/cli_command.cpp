#include "analysis/cli_command.h"

#include "analysis/exchange_files.h"
#include "tables/critical_values.h"

namespace ixo {

std::vector<std::string> CliArguments(const CliRequest& request) {
  std::vector<std::string> words = {kCliName,
                                    request.subcommand,
                                    kInputFileName,
                                    "--m",
                                    std::to_string(request.m),
                                    "--eps",
                                    TabulatedRangeText(request.eps_range, ':')};
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

#include "analysis/cli_command.h"

#include <utility>

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
  std::vector<std::string> options = {"--reps", "999", "--progress-file",
                                      program_directory + kProgressFileName};
  // SEQUENTIAL P-VALUES: once ixo_cli ixo has its option for the sequential
  // stopping rule (fewer permutations where a p-value is certainly above the
  // table's largest level, 10 %), it is added here, so that the window's
  // p-value step uses it; until then every dimension gets all 999.
  return CliArguments(
      {"ixo", m, eps_range, std::move(options), program_directory + kPValuesFileName});
}

std::vector<std::string> CurvesArguments(int m, int eps_range,
                                         const std::string& program_directory) {
  return CliArguments({"curves", m, eps_range, {}, program_directory + kCurvesFileName});
}

}  // namespace ixo

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
  // The sequential rule (H = 10) stops a dimension's permutations once its
  // p-value is certainly above the table's largest level, 10 %: an i.i.d.
  // series is done after about 120 of the 999, a series that rejects anywhere
  // gets all 999.
  std::vector<std::string> options = {"--reps",          "999",
                                      "--sequential",    kPValueSequentialRule,
                                      "--progress-file", program_directory + kProgressFileName};
  return CliArguments(
      {"ixo", m, eps_range, std::move(options), program_directory + kPValuesFileName});
}

std::vector<std::string> CurvesArguments(int m, int eps_range,
                                         const std::string& program_directory) {
  return CliArguments({"curves", m, eps_range, {}, program_directory + kCurvesFileName});
}

}  // namespace ixo

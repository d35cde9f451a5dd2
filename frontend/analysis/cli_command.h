// The arguments of the ixo_cli runs that follow a basic run: the p-value step
// of a permutation run and the correlation curves. Both are built in one shape
// by CliArguments, word by word, so that a path with blanks stays one word.
#pragma once

#include <string>
#include <vector>

namespace ixo {

// The scripting program that computes the permutation p-values and the curves.
inline constexpr const char* kCliName = "ixo_cli";

// One ixo_cli run on input.tmp with the basic run's settings.
struct CliRequest {
  std::string subcommand;            // "ixo" or "curves"
  int m = 2;                         // the largest dimension
  int eps_range = 0;                 // the epsilon-range index, as for BasicCommandLine
  std::vector<std::string> options;  // the subcommand's own option words
  std::string output;                // the exchange file to write, a full path
};

// "ixo_cli <subcommand> input.tmp --m <m> --eps <low>:<high> <options...>
// --output <output> --format csv", the range that of `eps_range` (0: 0.60:1.90,
// 1: 0.25:1.00, 2: 0.50:1.50, 3: 0.25:2.00). An index outside 0 to 3 gives an
// empty --eps word, which ixo_cli refuses, as the engine refuses the basic line.
std::vector<std::string> CliArguments(const CliRequest& request);

// The H of the p-value step's sequential stopping rule (ixo_cli's --sequential).
inline constexpr const char* kPValueSequentialRule = "10";

// The p-value step: "ixo_cli ixo ... --reps 999 --sequential 10 --progress-file
// <program_directory>progress.tmp --output <program_directory>pvalues.tmp".
std::vector<std::string> PermutationArguments(int m, int eps_range,
                                              const std::string& program_directory);

// The curves: "ixo_cli curves ... --output <program_directory>curves.tmp".
std::vector<std::string> CurvesArguments(int m, int eps_range,
                                         const std::string& program_directory);

}  // namespace ixo

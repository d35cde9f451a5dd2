// The command line of a subcommand, read in one step: file operands, and
// options given as "--name value" or "--name=value". The typed readers below
// consume the whole text or refuse it with a message naming the option: a
// Result (result.h) with the value or the message.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "result.h"

namespace ixo {

struct Arguments {
  std::vector<std::string> files;              // operands, in order
  std::map<std::string, std::string> options;  // option name without "--" -> its text
  bool help = false;                           // --help or -h was given
};

// Reads `args` (the words after the subcommand). `valued` names the options
// that take a value; any other word starting with "-" (except "-" itself) is
// refused, as are an option given twice and a missing value, in one line. A
// word "--" ends the options: every later word is a file.
[[nodiscard]] Result<Arguments> ReadArguments(std::span<const std::string> args,
                                              std::span<const char* const> valued);

// An integer in [low, high] written in decimal digits with an optional sign.
[[nodiscard]] Result<long long> ParseInteger(const std::string& option, const std::string& text,
                                             long long low, long long high);

// A seed: any unsigned 64-bit integer in decimal digits.
[[nodiscard]] Result<std::uint64_t> ParseSeed(const std::string& option, const std::string& text);

// A positive finite number ("0.6", "1e-3"), read in the C locale.
[[nodiscard]] Result<double> ParsePositive(const std::string& option, const std::string& text);

// "LOW:HIGH", both positive finite numbers.
[[nodiscard]] Result<std::pair<double, double>> ParseRange(const std::string& option,
                                                           const std::string& text);

// "A,B,...", one or more positive finite numbers.
[[nodiscard]] Result<std::vector<double>> ParseList(const std::string& option,
                                                    const std::string& text);

}  // namespace ixo

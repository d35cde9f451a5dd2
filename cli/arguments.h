// The command line of a subcommand, read in one step: file operands, and
// options given as "--name value" or "--name=value". The typed readers below
// consume the whole text or refuse it with a message naming the option.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace ixo {

struct Arguments {
  std::vector<std::string> files;              // operands, in order
  std::map<std::string, std::string> options;  // option name without "--" -> its text
  bool help = false;                           // --help or -h was given
  std::string error;                           // empty on success; else one line
};

// Reads `args` (the words after the subcommand). `valued` names the options
// that take a value; any other word starting with "-" (except "-" itself) is
// refused, as are an option given twice and a missing value. A word "--" ends
// the options: every later word is a file.
[[nodiscard]] Arguments ReadArguments(std::span<const std::string> args,
                                      std::span<const char* const> valued);

// A typed value, or the message that refuses the text.
template <typename T>
struct Parsed {
  std::optional<T> value;
  std::string error;
};

// An integer in [low, high] written in decimal digits with an optional sign.
[[nodiscard]] Parsed<long long> ParseInteger(const std::string& option, const std::string& text,
                                             long long low, long long high);

// A seed: any unsigned 64-bit integer in decimal digits.
[[nodiscard]] Parsed<std::uint64_t> ParseSeed(const std::string& option, const std::string& text);

// A positive finite number ("0.6", "1e-3"), read in the C locale.
[[nodiscard]] Parsed<double> ParsePositive(const std::string& option, const std::string& text);

// "LOW:HIGH", both positive finite numbers.
[[nodiscard]] Parsed<std::pair<double, double>> ParseRange(const std::string& option,
                                                           const std::string& text);

// "A,B,...", one or more positive finite numbers.
[[nodiscard]] Parsed<std::vector<double>> ParseList(const std::string& option,
                                                    const std::string& text);

}  // namespace ixo

#include "arguments.h"

#include "tables/whole_numbers.h"

namespace ixo {
namespace {

std::string Refused(const std::string& option, const std::string& text, const std::string& what) {
  return "--" + option + ": '" + text + "' is not " + what;
}

}  // namespace

Result<Arguments> ReadArguments(std::span<const std::string> args,
                                std::span<const char* const> valued) {
  Arguments a;
  bool options_end = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (options_end || word.size() < 2 || word[0] != '-') {
      a.files.push_back(word);
      continue;
    }
    if (word == "--") {
      options_end = true;
      continue;
    }
    if (word == "--help" || word == "-h") {
      a.help = true;
      continue;
    }
    const std::size_t equals = word.find('=');
    const std::string name = word.substr(2, equals == std::string::npos ? equals : equals - 2);
    bool known = word.starts_with("--");
    if (known) {
      known = false;
      for (const char* v : valued) known = known || name == v;
    }
    if (!known) {
      return Failure<Arguments>("unknown option '" + word.substr(0, equals) + "'");
    }
    if (a.options.count(name) != 0) {
      return Failure<Arguments>("--" + name + " is given twice");
    }
    if (equals != std::string::npos) {
      a.options[name] = word.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      a.options[name] = args[++i];
    } else {
      return Failure<Arguments>("--" + name + " needs a value");
    }
  }
  return {std::move(a), {}};
}

Result<long long> ParseInteger(const std::string& option, const std::string& text, long long low,
                               long long high) {
  const std::optional<long long> value =
      WholeInteger(std::string_view(text).substr(text.starts_with('+') ? 1 : 0), low, high);
  if (!value) {
    return {std::nullopt,
            Refused(option, text,
                    "an integer from " + std::to_string(low) + " to " + std::to_string(high))};
  }
  return {value, {}};
}

Result<std::uint64_t> ParseSeed(const std::string& option, const std::string& text) {
  const std::optional<std::uint64_t> value = WholeUnsigned(text);
  if (!value) return {std::nullopt, Refused(option, text, "an unsigned 64-bit integer")};
  return {value, {}};
}

Result<double> ParsePositive(const std::string& option, const std::string& text) {
  const std::optional<double> value = WholeDouble(text);
  if (!value || !(*value > 0)) return {std::nullopt, Refused(option, text, "a positive number")};
  return {value, {}};
}

Result<std::pair<double, double>> ParseRange(const std::string& option, const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon != std::string::npos) {
    const std::optional<double> low = WholeDouble(text.substr(0, colon));
    const std::optional<double> high = WholeDouble(text.substr(colon + 1));
    if (low && high && *low > 0 && *high > 0) return {std::pair{*low, *high}, {}};
  }
  return {std::nullopt, Refused(option, text, "LOW:HIGH with two positive numbers")};
}

Result<std::vector<double>> ParseList(const std::string& option, const std::string& text) {
  std::vector<double> values;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::optional<double> v =
        WholeDouble(text.substr(start, comma == std::string::npos ? comma : comma - start));
    if (!v || !(*v > 0)) {
      return {std::nullopt, Refused(option, text, "a comma-separated list of positive numbers")};
    }
    values.push_back(*v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return {values, {}};
}

}  // namespace ixo

#include "part_options.h"

#include <charconv>

namespace ixo {
namespace {

// A count in decimal digits, the whole text.
std::optional<int> Count(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0)
    return std::nullopt;
  return value;
}

}  // namespace

std::string PartProgram() {
  return std::string("ixo_cli ") + IXO_VERSION;
}

bool TakePartFormat(Arguments& a) {
  const auto it = a.options.find("format");
  if (it == a.options.end() || it->second != "part") return false;
  a.options.erase(it);
  return true;
}

Result<PartOptions> ReadPartOptions(const Arguments& a, bool part, int reps) {
  PartOptions o;
  o.part = part;
  const auto it = a.options.find("replications");
  if (it == a.options.end()) return {o, {}};
  if (!o.part) return {std::nullopt, "--replications needs --format part"};
  const std::string& text = it->second;
  const std::size_t colon = text.find(':');
  const std::optional<int> begin = Count(text.substr(0, colon));
  const std::optional<int> end =
      colon == std::string::npos ? std::nullopt : Count(text.substr(colon + 1));
  if (!begin || !end || *begin >= *end || *end > reps)
    return {std::nullopt, "--replications: '" + text +
                              "' is not a range A:B with 0 <= A < B <= " + std::to_string(reps)};
  o.begin = *begin;
  o.end = *end;
  return {o, {}};
}

long long RangeLength(const PartOptions& options, int reps) {
  return (options.end < 0 ? reps : options.end) - options.begin;
}

void SetRange(Simulation& simulation, const PartOptions& options) {
  simulation.begin = options.begin;
  simulation.end = options.end;
}

}  // namespace ixo

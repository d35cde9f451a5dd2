#include "ixo_settings_options.h"

#include <climits>

namespace ixo {

Result<IxoSettings> ReadIxoSettings(const Arguments& a) {
  IxoSettings s;
  std::string error;
  const auto integer = [&](const char* name, long long low, long long high, int& target) {
    const auto it = a.options.find(name);
    if (it == a.options.end() || !error.empty()) return;
    const Result<long long> p = ParseInteger(name, it->second, low, high);
    if (p.value) target = static_cast<int>(*p.value);
    error = p.error;
  };
  integer("m", 2, kMaxDimension, s.max_dimension);
  integer("subint", 1, kMaxSubintervals, s.subint);
  integer("cm-limit", 0, INT_MAX, s.cm_limit);
  if (const auto it = a.options.find("eps"); it != a.options.end() && error.empty()) {
    const Result<std::pair<double, double>> p = ParseRange("eps", it->second);
    if (p.value) std::tie(s.eps_low, s.eps_high) = *p.value;
    error = p.error;
  }
  if (!error.empty()) return Failure<IxoSettings>(std::move(error));
  return {s, {}};
}

}  // namespace ixo

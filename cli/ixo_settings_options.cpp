#include "ixo_settings_options.h"

#include <climits>

#include "options.h"

namespace ixo {

IxoSettings ReadIxoSettings(const Arguments& a, std::string& error) {
  IxoSettings s;
  const auto integer = [&](const char* name, long long low, long long high, int& target) {
    const auto it = a.options.find(name);
    if (it == a.options.end() || !error.empty()) return;
    const Parsed<long long> p = ParseInteger(name, it->second, low, high);
    if (p.value) target = static_cast<int>(*p.value);
    error = p.error;
  };
  integer("m", 2, kMaxDimension, s.max_dimension);
  integer("subint", 1, kMaxSubintervals, s.subint);
  integer("cm-limit", 0, INT_MAX, s.cm_limit);
  if (const auto it = a.options.find("eps"); it != a.options.end() && error.empty()) {
    const Parsed<std::pair<double, double>> p = ParseRange("eps", it->second);
    if (p.value) std::tie(s.eps_low, s.eps_high) = *p.value;
    error = p.error;
  }
  return s;
}

int TabulatedRange(const IxoSettings& s) {
  static constexpr double kRanges[][2] = {{0.60, 1.90}, {0.25, 1.00}, {0.50, 1.50}, {0.25, 2.00}};
  if (s.subint != 40 || s.cm_limit != 50) return -1;
  for (int i = 0; i < 4; ++i)
    if (s.eps_low == kRanges[i][0] && s.eps_high == kRanges[i][1]) return i;
  return -1;
}

}  // namespace ixo

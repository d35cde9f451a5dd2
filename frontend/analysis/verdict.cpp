#include "analysis/verdict.h"

#include "analysis/critical_values.h"

namespace ixo {

std::string Verdict(double value, int eps_range, int m, int size_class) {
  struct Level {
    double lower, upper;
    const char* text;
  };
  // From the widest band to the narrowest: the last band the value leaves wins.
  static constexpr Level kLevels[] = {{5, 95, "reject at 10%"},
                                      {2.5, 97.5, "reject at 5%"},
                                      {1, 99, "reject at 2%"},
                                      {0.5, 99.5, "reject at 1%"}};
  std::string verdict = "do not reject";
  for (const Level& level : kLevels) {
    const double lower = CriticalValue(eps_range, m, size_class, level.lower);
    const double upper = CriticalValue(eps_range, m, size_class, level.upper);
    if (lower > value || !(upper >= value)) verdict = level.text;
  }
  if (CriticalValue(eps_range, m, size_class, 0.5) == 0) verdict = "unknown";
  return verdict;
}

}  // namespace ixo

// The verdicts, classes and hints read from the tabulated critical values.
#include <cstdlib>

#include "tables/critical_values.h"

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

int TabulatedRange(const IxoSettings& s) {
  if (s.subint != kTabulatedSubint || s.cm_limit != kTabulatedCmLimit) return -1;
  for (int i = 0; i < static_cast<int>(kTabulatedRanges.size()); ++i) {
    if (s.eps_low == kTabulatedRanges[i].low && s.eps_high == kTabulatedRanges[i].high) return i;
  }
  return -1;
}

std::string TabulatedRangeText(int eps_range, char separator) {
  if (eps_range < 0 || eps_range >= static_cast<int>(kTabulatedRanges.size())) return {};
  const EpsRange& range = kTabulatedRanges[eps_range];
  return std::string(range.low_text) + separator + range.high_text;
}

int SampleSizeClass(int count) {
  if (count < 750) return 0;
  if (count < 1750) return 1;
  return 2;
}

bool SizeClassFits(int n, int size_class) {
  if (n < 1 || size_class < 0 || size_class >= static_cast<int>(kSampleSizeClasses.size()))
    return false;
  const int size = kSampleSizeClasses[size_class];
  return std::abs(n - size) * 5 <= size;
}

std::string SizeClassHint(int n, int size_class) {
  if (n < 1 || size_class < 0 || size_class >= static_cast<int>(kSampleSizeClasses.size()))
    return {};
  if (SizeClassFits(n, size_class)) return {};
  const int size = kSampleSizeClasses[size_class];
  return "The critical values are tabulated for n = " + std::to_string(size) +
         "; this series has n = " + std::to_string(n) +
         ", more than 20 % away, so the verdicts may be unreliable. Choose \"permutation\" "
         "for an exact test at any n.";
}

std::string PValueVerdict(double p_value) {
  if (p_value < 0.01) return "reject at 1%";
  if (p_value < 0.02) return "reject at 2%";
  if (p_value < 0.05) return "reject at 5%";
  if (p_value < 0.10) return "reject at 10%";
  return "do not reject";
}

}  // namespace ixo

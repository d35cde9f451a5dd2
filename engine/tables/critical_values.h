// The tabulated critical values of the Ixo value: percentiles under the i.i.d.
// hypothesis for four epsilon ranges (40 intervals, Cm limit 50), dimensions 2
// to 10 and three sample-size classes, the verdicts read from them, the class
// a series length selects, and the hint when a length lies far from its class.
// Constant data and pure functions; the one home of these tables for ixo_cli,
// the window and the bindings.
#pragma once

#include <array>
#include <string>

#include "ixo_settings.h"

namespace ixo {

// An epsilon range of the tables, as numbers and as the texts the engine's
// command line and ixo_cli's --eps take ("0.60", "1.90").
struct EpsRange {
  double low;
  double high;
  const char* low_text;
  const char* high_text;
};

// The ranges by index: 0: 0.60-1.90, 1: 0.25-1.00, 2: 0.50-1.50, 3: 0.25-2.00.
inline constexpr std::array<EpsRange, 4> kTabulatedRanges = {{{0.60, 1.90, "0.60", "1.90"},
                                                              {0.25, 1.00, "0.25", "1.00"},
                                                              {0.50, 1.50, "0.50", "1.50"},
                                                              {0.25, 2.00, "0.25", "2.00"}}};
// The grid and limit every tabulated range was computed with.
inline constexpr int kTabulatedSubint = 40;
inline constexpr int kTabulatedCmLimit = 50;
// The nominal sample sizes of the classes by index.
inline constexpr std::array<int, 3> kSampleSizeClasses = {500, 1000, 2500};

// The critical value for epsilon-range index `eps_range`, dimension `m`,
// sample-size class `size_class` (an index 0, 1, 2 or its nominal size 500,
// 1000, 2500) and `percentile` (0.5, 1, 2.5, 5, 95, 97.5, 99 or 99.5, matched
// exactly). 0 when the table holds no such value.
double CriticalValue(int eps_range, int m, int size_class, double percentile);

// "do not reject" when `value` lies within the 5th to 95th percentile band
// (ends included); otherwise "reject at 10%", "reject at 5%", "reject at 2%"
// or "reject at 1%" for the smallest level whose band it leaves. "unknown"
// when the table holds no critical values for the arguments.
std::string Verdict(double value, int eps_range, int m, int size_class);

// The verdict of a p-value at the same levels: below 0.01 "reject at 1%",
// below 0.02 "reject at 2%", below 0.05 "reject at 5%", below 0.10 "reject at
// 10%", otherwise (NaN included) "do not reject".
std::string PValueVerdict(double p_value);

// The range index of `settings` when they are those of the tables (one of the
// ranges exactly, 40 intervals, Cm limit 50); -1 otherwise. The dimension is
// not looked at.
int TabulatedRange(const IxoSettings& settings);

// "LOW<separator>HIGH" of range index `eps_range` ("0.60:1.90" for 0 and ':');
// empty for an index outside 0 to 3.
std::string TabulatedRangeText(int eps_range, char separator);

// The sample-size class index for a series of `count` values: 0 below 750,
// 1 from 750 to 1749, 2 from 1750 on.
int SampleSizeClass(int count);

// Whether the series' length `n` lies within 20 % of the sample size of class
// index `size_class` (0: 500, 1: 1000, 2: 2500), where the class's table
// holds; false for n below 1 and for any other index.
bool SizeClassFits(int n, int size_class);

// The hint shown beside the verdicts when the series' length `n` lies more
// than 20 % from the sample size of the chosen class (index 0: 500, 1: 1000,
// 2: 2500); empty when it lies within, for n below 1 and for any other index.
std::string SizeClassHint(int n, int size_class);

}  // namespace ixo

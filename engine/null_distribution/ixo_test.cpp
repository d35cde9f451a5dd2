#include "ixo_test.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "permutation_tests.h"
#include "tables/critical_values.h"

namespace ixo {
namespace {

// The value as the window reads it from output.tmp: "%.3f", read back.
double ThreeDecimals(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%.3f", value);
  return std::strtod(text, nullptr);
}

Result<IxoTestReport> Report(std::span<const double> series, const IxoSettings& settings,
                             const Simulation& simulation) {
  Result<IxoPermutationTest> test = PermutationTestIxo(series, settings, simulation);
  if (!test.ok()) return Failure<IxoTestReport>(std::move(test.error));
  return {IxoReportOf(static_cast<int>(series.size()), settings, *test.value), {}};
}

}  // namespace

IxoTestReport IxoReportOf(int n, const IxoSettings& settings, const IxoPermutationTest& test,
                          int chosen_class) {
  IxoTestReport report;
  report.n = n;
  const int range = TabulatedRange(settings);
  const auto chosen = std::find(kSampleSizeClasses.begin(), kSampleSizeClasses.end(), chosen_class);
  const bool nearest = chosen == kSampleSizeClasses.end();
  const int size_class =
      nearest ? SampleSizeClass(report.n) : static_cast<int>(chosen - kSampleSizeClasses.begin());
  const std::vector<DimensionSlope>& observed = test.observed;
  const std::vector<std::optional<double>>& p_values = test.p_values;
  const bool fits = !nearest || SizeClassFits(report.n, size_class);
  for (std::size_t i = 0; i < observed.size(); ++i) {
    const DimensionSlope& d = observed[i];
    IxoTestRow row;
    row.m = d.dimension;
    row.points = d.points;
    row.size_class = kSampleSizeClasses[size_class];
    if (!HasIxoValue(d)) {
      row.verdict = "no value: " + NoIxoValueReason(d);
    } else {
      row.value = d.slope;
      const std::string verdict =
          range < 0 ? "unknown" : Verdict(ThreeDecimals(d.slope), range, d.dimension, size_class);
      row.verdict = verdict == "unknown" || fits ? verdict : kClassMisfit;
    }
    if (!p_values.empty()) {
      row.p_value = p_values[i];
      row.p_adjusted = test.p_adjusted[i];
    }
    report.rows.push_back(std::move(row));
  }
  report.p_overall = test.p_overall;
  report.drawn = test.drawn;
  return report;
}

Result<IxoTestReport> IxoTest(std::span<const double> series, const IxoSettings& settings,
                              const Simulation& simulation) {
  return OutOfMemoryAsFailure<IxoTestReport>([&] { return Report(series, settings, simulation); });
}

}  // namespace ixo

// critical_check: the simulated critical values (the library behind
// `ixo_cli critical`) beside the tabulated ones, for n = 500, 1000 and 2500,
// dimensions 2..10 and the four epsilon ranges (or those given). A value
// passes when it lies within max(4 standard errors, 0.02) of the table; the
// standard error of a percentile is taken from the simulated values
// themselves: half the distance between the order statistics at
// p +- sqrt(p (1 - p) / R).
//
// Usage: critical_check [reps (default 20000)] [range index ...]
// Exit status 0 when every value passes, 1 otherwise.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "critical_simulation.h"
#include "monte_carlo.h"
#include "tables/critical_values.h"

int main(int argc, char** argv) {
  const int reps = argc > 1 ? std::atoi(argv[1]) : 20000;
  std::vector<int> ranges;
  for (int i = 2; i < argc; ++i) ranges.push_back(std::atoi(argv[i]));
  if (ranges.empty()) ranges = {0, 1, 2, 3};
  int failures = 0;
  for (int range : ranges) {
    for (int size_class = 0; size_class < 3; ++size_class) {
      ixo::IxoSettings settings;
      settings.eps_low = ixo::kTabulatedRanges[range].low;
      settings.eps_high = ixo::kTabulatedRanges[range].high;
      ixo::Simulation simulation;
      simulation.replications = reps;
      const int n = ixo::kSampleSizeClasses[size_class];
      const ixo::Result<ixo::SimulatedCriticalValues> values =
          ixo::SimulateCriticalValues(n, settings, simulation);
      if (!values.ok()) {
        std::fprintf(stderr, "critical_check: %s\n", values.error.c_str());
        return 1;
      }
      std::printf("range %.2f-%.2f  n = %d  R = %d\n", settings.eps_low, settings.eps_high, n,
                  reps);
      for (const ixo::CriticalRow& row : values.value->rows) {
        std::printf("  m=%2d", row.m);
        for (std::size_t i = 0; i < ixo::kCriticalPercentiles.size(); ++i) {
          const double p = ixo::kCriticalPercentiles[i];
          const double table = ixo::CriticalValue(range, row.m, size_class, p);
          const double se_band = std::sqrt(p / 100 * (1 - p / 100) / reps) * 100;
          // The spread of the simulated values near p stands in for the density.
          const double neighbours =
              (row.values[std::min<std::size_t>(i + 1, 7)] - row.values[i > 0 ? i - 1 : 0]) /
              (ixo::kCriticalPercentiles[std::min<std::size_t>(i + 1, 7)] -
               ixo::kCriticalPercentiles[i > 0 ? i - 1 : 0]);
          const double se = std::fabs(neighbours) * se_band;
          const double tolerance = std::max(4 * se, 0.02);
          const bool pass = std::fabs(row.values[i] - table) <= tolerance;
          failures += !pass;
          std::printf(" %7.3f/%7.3f%s", row.values[i], table, pass ? " " : "*");
        }
        std::printf("\n");
      }
    }
  }
  std::printf("%d value(s) outside max(4 SE, 0.02) of the table (marked *)\n", failures);
  return failures == 0 ? 0 : 1;
}

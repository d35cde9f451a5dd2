// Critical values at any sample size: percentiles of the Ixo value under the
// i.i.d. normal hypothesis, simulated through the engine's own computation, in
// the layout of the tabulated ones.
#pragma once

#include <array>
#include <vector>

#include "result.h"
#include "simulation_settings.h"

namespace ixo {

// The percentiles of the tabulated critical values, lower tail first.
inline constexpr std::array<double, 8> kCriticalPercentiles = {0.5, 1, 2.5, 5, 95, 97.5, 99, 99.5};

struct CriticalRow {
  int m = 0;
  std::array<double, 8> values{};  // at kCriticalPercentiles, by Percentile's rule
  int undefined = 0;  // series without an Ixo value (HasIxoValue), left out of the percentiles
};

struct SimulatedCriticalValues {
  std::vector<CriticalRow> rows;  // m = 2 .. max_dimension
};

// The Ixo values of R series of n i.i.d. N(0, 1) values (series r drawn by
// RandomStream(seed, r).Normal()), each computed as the engine does, and their
// percentiles per dimension (linear interpolation between order statistics,
// monte_carlo.h) over the series that have a value; those without one are
// counted apart. Fails when CheckIxoSettings refuses n and the settings, when
// R < 1, when in some dimension fewer than half of the series have a value,
// when memory runs out, or with kInterrupted when the simulation's stop
// request answers true.
[[nodiscard]] Result<SimulatedCriticalValues> SimulateCriticalValues(int n,
                                                                     const IxoSettings& settings,
                                                                     const Simulation& simulation);

}  // namespace ixo

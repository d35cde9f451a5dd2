// The settings the null distributions share: those of the Ixo test, and how
// many replications to draw from which seed on how many threads.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "replication_pool.h"

namespace ixo {

// The seed used when none is given, so that two runs agree.
inline constexpr std::uint64_t kDefaultSeed = 20040105;

// The engine's arguments of an Ixo test: the grid from eps_low * sd to
// eps_high * sd in subint steps, the Cm limit and dimensions 2 .. max_dimension.
struct IxoSettings {
  double eps_low = 0.60;
  double eps_high = 1.90;
  int subint = 40;
  int cm_limit = 50;
  int max_dimension = 10;
};

struct Simulation {
  int replications = 999;  // R >= 0
  std::uint64_t seed = kDefaultSeed;
  int threads = 0;  // 0: one per core; the results do not depend on it
  ProgressCallback progress;
  // The tail count h of the permutation tests' sequential rule
  // (sequential_p_value.h); 0 draws all R replications.
  int sequential = 0;
};

// Empty when the settings are usable for a series of n values: eps_low and
// eps_high positive and finite, 1 <= subint <= 10000, cm_limit >= 0,
// 2 <= max_dimension <= 16 and max_dimension <= n - 1 (n >= 2); else the reason.
[[nodiscard]] std::string CheckIxoSettings(const IxoSettings& settings, std::size_t n);

// Empty when `series` admits a distance grid: finite mean and sd, sd > 0, and
// every fraction times the sd positive and finite; else the reason.
[[nodiscard]] std::string CheckGrid(std::span<const double> series,
                                    std::span<const double> fractions);

}  // namespace ixo

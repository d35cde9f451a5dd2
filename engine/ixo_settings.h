// The settings of an Ixo test as every caller beyond ixo_engine gives them
// (ixo_cli, the bindings): the distance grid, the Cm limit and the dimensions,
// their checks, and the counting input they make of a series, so that the
// permutation test, the simulations and the curves start from the same input
// as the engine.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "ixo_slopes.h"
#include "result.h"

namespace ixo {

// The largest embedding dimension: the kernel's two row masks per row serve
// dimensions up to 16, and so do the pair counts.
inline constexpr int kMaxDimension = 16;
// The largest number of grid intervals: the original regression buffers held
// 10002 points, i.e. a grid of at most 10001 points.
inline constexpr int kMaxSubintervals = 10000;

// The engine's arguments of an Ixo test: the grid from eps_low * sd to
// eps_high * sd in subint steps, the Cm limit and dimensions 2 .. max_dimension.
struct IxoSettings {
  double eps_low = 0.60;
  double eps_high = 1.90;
  int subint = 40;
  int cm_limit = 50;
  int max_dimension = 10;
};

// Empty when the settings are usable for a series of n values: eps_low and
// eps_high positive and finite, 1 <= subint <= 10000, cm_limit >= 0,
// 2 <= max_dimension <= 16 and max_dimension <= n - 1 (n >= 2); else the reason.
[[nodiscard]] std::string CheckIxoSettings(const IxoSettings& settings, std::size_t n);

// Empty when dimensions 2 .. max_dimension are usable for a series of n
// values: 2 <= max_dimension <= 16, n <= 2^31 - 1 and max_dimension <= n - 1
// (n >= 2); else the reason. Part of CheckIxoSettings.
[[nodiscard]] std::string CheckDimensions(int max_dimension, std::size_t n);

// Empty when `series` admits a distance grid: finite mean and sd, sd > 0, and
// every fraction times the sd positive and finite; else the reason.
[[nodiscard]] std::string CheckGrid(std::span<const double> series,
                                    std::span<const double> fractions);

// The counting input of `settings` for `series` as the engine builds it: the
// series described once, its grid from eps_low * sd to eps_high * sd in subint
// steps, its spread and the Cm limit (path, threads and workspace at their
// defaults). Fails with CheckGrid's reason. Requires eps and subint as
// CheckIxoSettings accepts them; the input refers to `series`, which must
// outlive it.
[[nodiscard]] Result<SlopeInput> SlopeInputFor(std::span<const double> series,
                                               const IxoSettings& settings);

}  // namespace ixo

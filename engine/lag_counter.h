// One thread's share of the close-pair counts for one group of distances: the
// lags it is handed, ranked (engine/distance_ranks.h) and counted, summed into
// exact counts per dimension and distance. Each counting path of
// CountClosePairs is one implementation; all give the same counts. Not part of
// the engine's interface.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "distance_ranks.h"
#include "pair_counts.h"

namespace ixo {

// What a counter counts: the lags of `series` against the group of `ranks`
// (group_size distances), for the dimensions `which` of 1..m.
struct LagJob {
  std::span<const double> series;
  const DistanceRanks* ranks = nullptr;
  int group_size = 0;
  int m = 0;
  Dimensions which = Dimensions::kAll;

  // Only dimension m is counted.
  bool top_only() const { return which == Dimensions::kTopOnly; }
  // The lowest dimension counted: m alone, from 2 (or m when that is 1), or from 1.
  int first() const {
    if (which == Dimensions::kTopOnly) return m;
    return which == Dimensions::kAboveOne && m >= 2 ? 2 : 1;
  }
};

class LagCounter {
 public:
  virtual ~LagCounter() = default;
  // Forgets what was counted and takes a new job; keeps its buffers where
  // they are large enough, so a counter reused for many series allocates only
  // for the first. The job's series and ranks must outlive the counting.
  virtual void Start(const LagJob& job) = 0;
  // Counts the pairs at positions t and t + lag, 1 <= lag < n.
  virtual void CountLag(int lag) = 0;
  // Adds to close[(j - 1) * group_size + g] the pairs of j-histories counted
  // so far whose coordinates all lie within distance g of the group, for
  // j = first()..m (the other rows are left as they are).
  virtual void AddClosePairs(std::span<std::uint64_t> close) = 0;
};

// The portable counter, or with `avx2` (only where the processor has it) the
// same compiled for AVX2.
std::unique_ptr<LagCounter> MakeReachCounter(bool avx2);

// Whether this processor runs the AVX-512 counter: AVX-512 F, BW, VBMI and
// BITALG, GFNI and AVX2 (false where the build is not for x86-64).
bool Avx512CounterSupported();

// The AVX-512 counter; requires Avx512CounterSupported().
std::unique_ptr<LagCounter> MakeAvx512Counter();

}  // namespace ixo

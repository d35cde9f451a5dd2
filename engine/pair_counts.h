// Close-pair counts of one series for a whole grid of distances and every
// embedding dimension at once.
//
// Two j-histories at positions r < s are close at distance eps when every one
// of their j coordinate differences |x_(r+l) - x_(s+l)| is at most eps. The
// correlation-integral kernel finds those pairs anew for every distance and
// dimension; CountClosePairs visits every pair of positions once instead. For
// each lag L = s - r it turns the differences along the lag into the index of
// the smallest grid distance they lie within, and counts every run of j
// consecutive indices by its maximum. The counts are exact integers, equal to
// the kernel's whatever the order of the grid, ties and differences equal to
// a grid distance included.
//
// Counting paths: the portable one, the same compiled for AVX2, and one with
// AVX-512 (F, BW, VBMI, BITALG) and GFNI that counts 64 positions against 8
// distances at once. Each runs only where the processor has every instruction
// it uses; by default the fastest of those for the series' length and the
// dimensions counted. All give the same counts. A caller may ask for another
// path (the programs' main take it from the environment variable
// IXO_PAIR_COUNT_PATH, for tests and measurements); a path the processor
// lacks is never run (the fastest it has stands in). Nothing here reads the
// environment or keeps state between calls beyond a workspace's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace ixo {

// Number of close pairs of j-histories for j = 1..max_dimension() and every
// grid point k, in the order the grid was given.
class PairCounts {
 public:
  PairCounts() = default;
  PairCounts(int max_dimension, int grid_points);

  int max_dimension() const { return max_dimension_; }
  int grid_points() const { return grid_points_; }

  // Close pairs of `dimension`-histories at grid point `grid_point`; requires
  // 1 <= dimension <= max_dimension() and 0 <= grid_point < grid_points().
  std::uint64_t At(int dimension, int grid_point) const;
  std::uint64_t& At(int dimension, int grid_point);

  // Every count 0 and the given shape, keeping the storage where it is large
  // enough.
  void Reset(int max_dimension, int grid_points);

 private:
  int max_dimension_ = 0;
  int grid_points_ = 0;
  std::vector<std::uint64_t> counts_;  // row dimension - 1, column grid point
};

// Which instructions count the pairs. kAuto is the fastest path this
// processor has for the series' length and the dimensions counted.
enum class PairCountPath { kAuto, kPortable, kAvx2, kAvx512 };

// The path named "portable", "avx2" or "avx512" (the values of
// IXO_PAIR_COUNT_PATH); kAuto for a null pointer or any other name.
PairCountPath PairCountPathNamed(const char* name);

// Which dimensions CountClosePairs fills: every j up to the maximum; every j
// from 2 up (what the Ixo values and the BDS statistics take: the single
// values' close pairs are a count of their own, and their row stays 0 unless
// the maximum is 1); or the maximum alone (cheaper still; the rows below it
// stay 0).
enum class Dimensions { kAll, kAboveOne, kTopOnly };

// Counts, for every j = 1..max_dimension and every distance grid[k], the
// pairs r < s of j-histories of `series` (positions 0..n-j) whose coordinates
// all differ by at most grid[k]; a difference equal to grid[k] is close.
// Requires finite values and 1 <= max_dimension <= kMaxDimension (ixo_settings.h).
// The grid may run upward, downward or hold equal points; a negative or NaN
// point has no close pair. `threads` = 0 uses every core for long series and
// one for short ones; the result does not depend on it. Memory is O(n + grid
// size) per thread. `path` as for PairCountWorkspace.
PairCounts CountClosePairs(std::span<const double> series, std::span<const double> grid,
                           int max_dimension, Dimensions which = Dimensions::kAll, int threads = 0,
                           PairCountPath path = PairCountPath::kAuto);

// Below this many values the automatic choice counts more than the top
// dimension with AVX2 even where the processor has AVX-512: the AVX-512 path's
// setup per lag and its wider steps cost more than they save on short lags
// (measured on an AMD EPYC with AVX-512, where both take the same time around
// 1200 values for a permutation test's counts). The top dimension alone is
// quicker with AVX-512 at every length (twice as quick at 1000 values).
inline constexpr std::size_t kAvx512MinLength = 1200;

// Whether this processor (and build) runs `path`; kAuto and kPortable always.
bool PairCountPathSupported(PairCountPath path);

// The path that `path` stands for when counting the dimensions `which` of a
// series of `n` values: kAuto as above, a path the processor lacks as the
// fastest one it has, any other as itself.
PairCountPath ResolvePairCountPath(PairCountPath path, std::size_t n,
                                   Dimensions which = Dimensions::kAll);

// CountClosePairs for callers that count many series, such as a permutation
// test or simulated critical values with one replication per thread: the
// workspace keeps its buffers, the bucket tables of the last grid and its
// counters from one series to the next, so a series of no more values and a
// grid of no more distances than before allocate nothing, the same grid
// rebuilds no table, and with threads = 1 (the default) no thread is started.
// One workspace serves one caller at a time; keep one per thread.
class PairCountWorkspace {
 public:
  // `threads` as for CountClosePairs; the counts do not depend on it or on
  // the path.
  explicit PairCountWorkspace(PairCountPath path = PairCountPath::kAuto, int threads = 1);
  PairCountWorkspace(PairCountWorkspace&&) noexcept;
  PairCountWorkspace& operator=(PairCountWorkspace&&) noexcept;
  ~PairCountWorkspace();

  // The path this workspace counts the dimensions `which` of a series of `n`
  // values with (never kAuto): a path given to the constructor whatever n
  // (or the fastest the processor has, when it lacks that one).
  PairCountPath path(std::size_t n, Dimensions which = Dimensions::kAll) const;

  // What CountClosePairs(series, grid, max_dimension, which) returns, with
  // the same requirements; valid until the next call or the workspace's end.
  const PairCounts& Count(std::span<const double> series, std::span<const double> grid,
                          int max_dimension, Dimensions which = Dimensions::kAll);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The correlation integral C_j = 2a / (M (M - 1)) of `close_pairs` = a pairs
// among the M = n - j + 1 histories of length j, in the kernel's double
// arithmetic, so both give the same bits. Requires M >= 2.
double CorrelationIntegralFromCount(std::uint64_t close_pairs, int n, int dimension);

}  // namespace ixo

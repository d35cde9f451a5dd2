// The first step of the close-pair counts: each difference |x_t - x_(t+L)|
// along a lag L becomes one byte, its rank among a group of distances. Shared
// by every counting path (engine/reach_counts.*, engine/lag_counts_avx512.*);
// not part of the engine's interface.
#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

namespace ixo {

// Groups hold at most kMaxRankGroup distances, so that a rank, the group size
// ("beyond every distance") and kRankPad (outside the lag's run of
// differences) all fit a byte.
inline constexpr int kMaxRankGroup = 253;
inline constexpr std::uint8_t kRankPad = 255;

// Bucket table entries: the rank base in the top byte, a position below it.
inline constexpr int kRankBaseShift = 56;
inline constexpr std::int64_t kRankPositionMask = (std::int64_t{1} << kRankBaseShift) - 1;

// The ranks of the differences through a bucket table (see DistanceRanks).
// Clamping the difference into [low, high] first keeps the bucket index in
// range without branches.
struct BucketTable {
  double low = 0;
  double high = 0;
  int shift = 0;
  const std::int64_t* entries = nullptr;
};

// The rank of one non-negative difference through `table`.
inline std::uint8_t RankOne(double d, const BucketTable& table) {
  const auto lo = static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(table.low));
  const double clamped = d < table.low ? table.low : (d > table.high ? table.high : d);
  const std::int64_t offset = static_cast<std::int64_t>(std::bit_cast<std::uint64_t>(clamped)) - lo;
  const std::int64_t entry = table.entries[offset >> table.shift];
  const std::int64_t within = (std::int64_t{1} << table.shift) - 1;
  const std::int64_t above = (offset & within) > (entry & kRankPositionMask) ? 1 : 0;
  return static_cast<std::uint8_t>((entry >> kRankBaseShift) + above);
}

// Maps a non-negative difference d to the number of thresholds below it, for
// an ascending group of 1..kMaxRankGroup distinct non-negative thresholds (+0,
// never -0): rank g means "within the g-th threshold and every larger one",
// the group size means "beyond all of them". Non-negative doubles order like
// their bit patterns, so the span of the group's bit patterns is cut into
// buckets no wider than the smallest gap between two thresholds: a bucket
// holds at most one threshold, and one comparison with it settles the rank.
// Where the table would be too large, a binary search per difference does.
class DistanceRanks {
 public:
  DistanceRanks() = default;
  explicit DistanceRanks(std::span<const double> thresholds);

  std::span<const double> thresholds() const { return thresholds_; }
  // The bucket table; its entries are null when there is none.
  BucketTable table() const {
    return {thresholds_.empty() ? 0 : thresholds_.front(), high_, shift_,
            table_.empty() ? nullptr : table_.data()};
  }
  std::size_t buckets() const { return table_.size(); }

  // The rank of every difference |x[t] - x[t + lag]|, t = 0..count-1, into
  // out; with `avx2` (only where the processor has it) by AVX2 gathers.
  void RankLag(const double* x, int lag, int count, std::uint8_t* out, bool avx2) const;

 private:
  std::vector<double> thresholds_;
  int shift_ = 0;
  double high_ = 0;
  std::vector<std::int64_t> table_;
};

}  // namespace ixo

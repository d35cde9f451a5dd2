// The portable counting path (also compiled for AVX2): each lag's ranks become
// a histogram over (rank, left reach, right reach), or for the top dimension
// alone over the run maxima of neighbouring positions.
#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "lag_counter.h"

namespace ixo {
namespace {

constexpr int kSideSlots = 16;  // a position's left or right reach, 1..m <= 16
constexpr int kBlock = 2048;
constexpr std::uint32_t kSpareSlots = 32;

// One step of the reach scan below: folds the ranks `other`, k positions
// away, into the running maxima and counts the positions whose whole reach
// stays below (or with `kOrEqual`, not above) their own rank.
template <bool kOrEqual>
[[gnu::always_inline]] inline void ExtendReach(const std::uint8_t* __restrict ranks,
                                               const std::uint8_t* __restrict other, int count,
                                               std::uint8_t* __restrict running_max,
                                               std::uint8_t* __restrict reach) {
  for (int i = 0; i < count; ++i) {
    const std::uint8_t high = running_max[i] > other[i] ? running_max[i] : other[i];
    running_max[i] = high;
    const bool within = kOrEqual ? high <= ranks[i] : high < ranks[i];
    reach[i] = static_cast<std::uint8_t>(reach[i] + (within ? 1 : 0));
  }
}

// For every position t of a lag's ranks a, its left reach A (1 + the number of
// positions just before t with a smaller rank) and its right reach B (1 + the
// number just after t with a rank no greater), both capped at m. Each run of
// consecutive positions is counted once, at its leftmost maximum: the runs of
// length j with their maximum at t are min(A, B, j, A + B - j) when positive.
// The histogram is indexed by (rank, A - 1, B - 1).
[[gnu::always_inline]] inline void CountBlockBody(const std::uint8_t* ranks, int count, int m,
                                                  std::uint32_t* histogram) {
  std::uint8_t left_max[kBlock], left_reach[kBlock], right_max[kBlock], right_reach[kBlock];
  std::uint16_t slot[kBlock];
  for (int i = 0; i < count; ++i) {
    left_max[i] = 0;
    right_max[i] = 0;
    left_reach[i] = 0;
    right_reach[i] = 0;
  }
  for (int k = 1; k < m; ++k) {
    ExtendReach<false>(ranks, ranks - k, count, left_max, left_reach);
    ExtendReach<true>(ranks, ranks + k, count, right_max, right_reach);
  }
  for (int i = 0; i < count; ++i)
    slot[i] = static_cast<std::uint16_t>((ranks[i] * m + left_reach[i]) * m + right_reach[i]);
  for (int i = 0; i < count; ++i) ++histogram[slot[i]];
}

// When only the top dimension j is wanted: the maximum rank of the run of j
// positions that starts at each position. Runs that reach past the lag's end
// meet the pad, and both they and the runs beyond every distance are clamped
// to `beyond` (the group size). Neighbouring positions are histogrammed as one
// pair (a, b) on a side of beyond + 1, halving the increments, in two
// interleaved copies so that equal neighbours do not wait on each other. The
// pair (beyond, beyond), often the bulk of them, counts for nothing; it is
// spread over kSpareSlots spare slots for the same reason.
[[gnu::always_inline]] inline void CountTopBlockBody(const std::uint8_t* __restrict ranks,
                                                     int count, int j, int beyond,
                                                     std::uint32_t* __restrict histogram) {
  std::uint8_t high[kBlock];
  std::uint32_t slot[kBlock / 2];
  const auto cap = static_cast<std::uint8_t>(beyond);
  for (int i = 0; i < count; ++i) high[i] = ranks[i];
  for (int k = 1; k < j; ++k) {
    const std::uint8_t* __restrict other = ranks + k;
    for (int i = 0; i < count; ++i) high[i] = high[i] > other[i] ? high[i] : other[i];
  }
  for (int i = 0; i < count; ++i) high[i] = high[i] < cap ? high[i] : cap;
  const std::uint32_t side = beyond + 1;
  const std::uint32_t copy = side * side;
  const std::uint32_t nothing = copy - 1;  // (beyond, beyond)
  const int pairs = count / 2;
  for (int q = 0; q < pairs; ++q) {
    const std::uint32_t pair = high[2 * q] * side + high[2 * q + 1];
    const std::uint32_t q32 = static_cast<std::uint32_t>(q);
    slot[q] = pair == nothing ? 2 * copy + (q32 & (kSpareSlots - 1)) : pair + (q32 & 1) * copy;
  }
  for (int q = 0; q < pairs; ++q) ++histogram[slot[q]];
  if (count % 2 == 1) ++histogram[high[count - 1] * side + beyond];
}

// The counting loops start on a cache line, so that their speed does not
// depend on where the linker puts them.
#define IXO_LOOP_ALIGN __attribute__((aligned(64)))

IXO_LOOP_ALIGN void CountBlockPortable(const std::uint8_t* ranks, int count, int m,
                                       std::uint32_t* histogram) {
  CountBlockBody(ranks, count, m, histogram);
}
IXO_LOOP_ALIGN void CountTopBlockPortable(const std::uint8_t* ranks, int count, int j, int beyond,
                                          std::uint32_t* histogram) {
  CountTopBlockBody(ranks, count, j, beyond, histogram);
}

#if defined(__x86_64__)
IXO_LOOP_ALIGN __attribute__((target("avx2"))) void CountBlockAvx2(const std::uint8_t* ranks,
                                                                   int count, int m,
                                                                   std::uint32_t* histogram) {
  CountBlockBody(ranks, count, m, histogram);
}
IXO_LOOP_ALIGN __attribute__((target("avx2"))) void CountTopBlockAvx2(const std::uint8_t* ranks,
                                                                      int count, int j, int beyond,
                                                                      std::uint32_t* histogram) {
  CountTopBlockBody(ranks, count, j, beyond, histogram);
}
#endif

// Slots of CountBlock's histogram, or of CountTopBlock's two copies and spares.
std::size_t HistogramSize(int group_size, int m, bool top_only) {
  const std::size_t ranks = static_cast<std::size_t>(group_size) + 1;
  return top_only ? 2 * ranks * ranks + kSpareSlots : ranks * m * m;
}

// Ranks every lag into a padded byte row and histograms its positions,
// flushing the 32-bit histogram into the 64-bit one before it can wrap.
class ReachCounter final : public LagCounter {
 public:
  explicit ReachCounter(bool avx2) : avx2_(avx2) {}

  void Start(const LagJob& job) override {
    job_ = job;
    row_.assign(job.series.size() + 2 * kSideSlots, kRankPad);
    const std::size_t slots = HistogramSize(job.group_size, job.m, job.top_only());
    narrow_.assign(slots, 0);
    wide_.assign(slots, 0);
    pending_ = 0;
  }

  void CountLag(int lag) override {
    const int count = static_cast<int>(job_.series.size()) - lag;
    if (pending_ + static_cast<std::uint64_t>(count) > std::numeric_limits<std::uint32_t>::max())
      Flush();
    pending_ += static_cast<std::uint64_t>(count);
    std::uint8_t* row = row_.data() + kSideSlots;
    job_.ranks->RankLag(job_.series.data(), lag, count, row, avx2_);
    std::memset(row + count, kRankPad, kSideSlots);
    for (int start = 0; start < count; start += kBlock) {
      const int length = std::min(kBlock, count - start);
      if (job_.top_only())
        CountTop(row + start, length);
      else
        Count(row + start, length);
    }
  }

  void AddClosePairs(std::span<std::uint64_t> close) override {
    Flush();
    const int m = job_.m;
    const std::size_t group = static_cast<std::size_t>(job_.group_size);
    // Runs of length j with their maximum at a position of left reach A and
    // right reach B.
    auto runs = [](int a, int b, int j) { return std::max(0, std::min({a, b, j, a + b - j})); };
    for (int j = job_.first(); j <= m; ++j) {
      std::uint64_t within = 0;  // running sum over the ranks
      for (std::size_t g = 0; g < group; ++g) {
        if (job_.top_only()) {
          const std::size_t side = group + 1;
          for (std::size_t copy = 0; copy < 2; ++copy)
            for (std::size_t other = 0; other < side; ++other) {
              const std::size_t base = copy * side * side;
              within += wide_[base + g * side + other] + wide_[base + other * side + g];
            }
        } else {
          for (int a = 1; a <= m; ++a)
            for (int b = 1; b <= m; ++b) {
              const std::uint64_t h = wide_[(g * m + a - 1) * m + b - 1];
              within += h * static_cast<std::uint64_t>(runs(a, b, j));
            }
        }
        close[static_cast<std::size_t>(j - 1) * group + g] += within;
      }
    }
  }

 private:
  void Count(const std::uint8_t* ranks, int length) {
#if defined(__x86_64__)
    if (avx2_) return CountBlockAvx2(ranks, length, job_.m, narrow_.data());
#endif
    CountBlockPortable(ranks, length, job_.m, narrow_.data());
  }

  void CountTop(const std::uint8_t* ranks, int length) {
#if defined(__x86_64__)
    if (avx2_) return CountTopBlockAvx2(ranks, length, job_.m, job_.group_size, narrow_.data());
#endif
    CountTopBlockPortable(ranks, length, job_.m, job_.group_size, narrow_.data());
  }

  void Flush() {
    for (std::size_t i = 0; i < narrow_.size(); ++i) {
      wide_[i] += narrow_[i];
      narrow_[i] = 0;
    }
    pending_ = 0;
  }

  bool avx2_;
  LagJob job_;
  std::vector<std::uint8_t> row_;
  std::vector<std::uint32_t> narrow_;
  std::vector<std::uint64_t> wide_;
  std::uint64_t pending_ = 0;
};

}  // namespace

std::unique_ptr<LagCounter> MakeReachCounter(bool avx2) {
  return std::make_unique<ReachCounter>(avx2);
}

}  // namespace ixo

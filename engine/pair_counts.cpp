#include "pair_counts.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ixo {

namespace {

// A lag's differences become one byte each, their rank: the number of
// distances of the current threshold group that lie below the difference, so
// rank g means "within the g-th distance and every larger one" and the group
// size means "beyond all of them". Groups hold at most kMaxGroup distances;
// kPad marks the positions outside the lag's run of differences.
constexpr int kMaxGroup = 253;
constexpr std::uint8_t kPad = 255;
constexpr int kSideSlots = kMaxPairCountDimension;  // a position's left or right reach, 1..m
constexpr int kBlock = 2048;
constexpr std::uint32_t kSpareSlots = 32;
// Bucket tables larger than this fall back to a binary search per difference.
constexpr std::uint64_t kMaxBuckets = std::uint64_t{1} << 20;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Bucket table entries: the rank base in the top byte, a position below it.
constexpr int kBaseShift = 56;
constexpr std::int64_t kPositionMask = (std::int64_t{1} << kBaseShift) - 1;
constexpr int kMaxShift = kBaseShift - 1;

std::uint64_t Bits(double value) {
  return std::bit_cast<std::uint64_t>(value);
}

// Ranks of the differences along one lag through a bucket table (see
// DistanceRanks). Clamping the difference into [low, high] first keeps the
// bucket index in range without branches.
struct BucketTable {
  double low = 0;
  double high = 0;
  int shift = 0;
  const std::int64_t* entries = nullptr;
};

inline std::uint8_t RankOne(double d, const BucketTable& table) {
  const std::int64_t lo = static_cast<std::int64_t>(Bits(table.low));
  const double clamped = d < table.low ? table.low : (d > table.high ? table.high : d);
  const std::int64_t offset = static_cast<std::int64_t>(Bits(clamped)) - lo;
  const std::int64_t entry = table.entries[offset >> table.shift];
  const std::int64_t within = (std::int64_t{1} << table.shift) - 1;
  const std::int64_t above = (offset & within) > (entry & kPositionMask) ? 1 : 0;
  return static_cast<std::uint8_t>((entry >> kBaseShift) + above);
}

void RankLagPlain(const double* __restrict x, int lag, int count, std::uint8_t* __restrict out,
                  const BucketTable& table) {
  const double* __restrict partner = x + lag;
  for (int t = 0; t < count; ++t) out[t] = RankOne(std::fabs(x[t] - partner[t]), table);
}

#if defined(__x86_64__)
// The same with AVX2 gathers, 16 differences per step. GCC's generic tuning
// will not emit gathers for the plain loop, so this one is written out.
__attribute__((target("avx2"))) void RankLagAvx2(const double* __restrict x, int lag, int count,
                                                 std::uint8_t* __restrict out,
                                                 const BucketTable& table) {
  const double* __restrict partner = x + lag;
  const __m256d sign = _mm256_set1_pd(-0.0);
  const __m256d low = _mm256_set1_pd(table.low);
  const __m256d high = _mm256_set1_pd(table.high);
  const __m256i lo = _mm256_set1_epi64x(static_cast<long long>(Bits(table.low)));
  const __m128i shift = _mm_cvtsi32_si128(table.shift);
  const __m256i within = _mm256_set1_epi64x((std::int64_t{1} << table.shift) - 1);
  const __m256i position_mask = _mm256_set1_epi64x(kPositionMask);
  const __m256i even_dwords = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
  const auto* entries = reinterpret_cast<const long long*>(table.entries);
  int t = 0;
  for (; t + 16 <= count; t += 16) {
    __m128i quarter[4];
    for (int q = 0; q < 4; ++q) {
      const __m256d d = _mm256_andnot_pd(sign, _mm256_sub_pd(_mm256_loadu_pd(x + t + 4 * q),
                                                             _mm256_loadu_pd(partner + t + 4 * q)));
      const __m256d clamped = _mm256_min_pd(_mm256_max_pd(d, low), high);
      const __m256i offset = _mm256_sub_epi64(_mm256_castpd_si256(clamped), lo);
      const __m256i entry = _mm256_i64gather_epi64(entries, _mm256_srl_epi64(offset, shift), 8);
      // above is -1 where the difference lies past the bucket's threshold.
      const __m256i above = _mm256_cmpgt_epi64(_mm256_and_si256(offset, within),
                                               _mm256_and_si256(entry, position_mask));
      const __m256i rank = _mm256_sub_epi64(_mm256_srli_epi64(entry, kBaseShift), above);
      quarter[q] = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(rank, even_dwords));
    }
    const __m128i low_half = _mm_packus_epi32(quarter[0], quarter[1]);
    const __m128i high_half = _mm_packus_epi32(quarter[2], quarter[3]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + t), _mm_packus_epi16(low_half, high_half));
  }
  for (; t < count; ++t) out[t] = RankOne(std::fabs(x[t] - partner[t]), table);
}
#endif

// Maps a non-negative difference d to the number of thresholds below it, for
// an ascending group of distinct non-negative thresholds. Non-negative
// doubles order like their bit patterns, so the span of the group's bit
// patterns is cut into buckets no wider than the smallest gap between two
// thresholds: a bucket holds at most one threshold, and one comparison with
// it settles the rank. A bucket's entry holds the number of thresholds below
// the bucket in its top byte and the position of its threshold within the
// bucket below that (one past the bucket's end when it holds none).
class DistanceRanks {
 public:
  explicit DistanceRanks(std::span<const double> thresholds)
      : thresholds_(thresholds.begin(), thresholds.end()) {
    const std::uint64_t lo = Bits(thresholds_.front());
    const std::uint64_t hi = Bits(thresholds_.back());
    std::uint64_t min_gap = std::numeric_limits<std::uint64_t>::max();
    for (std::size_t i = 1; i < thresholds_.size(); ++i)
      min_gap = std::min(min_gap, Bits(thresholds_[i]) - Bits(thresholds_[i - 1]));
    shift_ = std::min(static_cast<int>(std::bit_width(min_gap)) - 1, kMaxShift);
    const std::uint64_t buckets = ((hi - lo) >> shift_) + 2;
    if (buckets > kMaxBuckets) return;
    // Differences beyond the group land in the last bucket, which lies above
    // every threshold (or in the bucket of an infinite threshold).
    high_ = std::bit_cast<double>(std::min(lo + ((buckets - 1) << shift_), Bits(kInfinity)));
    table_.resize(buckets);
    std::size_t below = 0;
    for (std::uint64_t b = 0; b < buckets; ++b) {
      const std::uint64_t start = lo + (b << shift_);
      while (below < thresholds_.size() && Bits(thresholds_[below]) < start) ++below;
      const bool holds =
          below < thresholds_.size() && ((Bits(thresholds_[below]) - lo) >> shift_) == b;
      const std::uint64_t position =
          holds ? Bits(thresholds_[below]) - start : std::uint64_t{1} << shift_;
      table_[b] = static_cast<std::int64_t>((std::uint64_t{below} << kBaseShift) | position);
    }
  }

  // The rank of every difference |x[t] - x[t + lag]|, t = 0..count-1, into out.
  void RankLag(const double* x, int lag, int count, std::uint8_t* out) const {
    if (table_.empty()) {
      for (int t = 0; t < count; ++t) {
        const double d = std::fabs(x[t] - x[t + lag]);
        out[t] = static_cast<std::uint8_t>(
            std::lower_bound(thresholds_.begin(), thresholds_.end(), d) - thresholds_.begin());
      }
      return;
    }
    const BucketTable table{thresholds_.front(), high_, shift_, table_.data()};
#if defined(__x86_64__)
    static const bool has_avx2 = __builtin_cpu_supports("avx2");
    if (has_avx2) return RankLagAvx2(x, lag, count, out, table);
#endif
    RankLagPlain(x, lag, count, out, table);
  }

 private:
  std::vector<double> thresholds_;
  int shift_ = 0;
  double high_ = 0;
  std::vector<std::int64_t> table_;
};

// One step of the reach scan below: folds the ranks `other`, k positions
// away, into the running maxima and counts the positions whose whole reach
// stays below (or with `or_equal`, not above) their own rank.
inline void ExtendReach(const std::uint8_t* __restrict ranks, const std::uint8_t* __restrict other,
                        int count, std::uint8_t* __restrict running_max,
                        std::uint8_t* __restrict reach, bool or_equal) {
  if (or_equal) {
    for (int i = 0; i < count; ++i) {
      const std::uint8_t high = running_max[i] > other[i] ? running_max[i] : other[i];
      running_max[i] = high;
      reach[i] = static_cast<std::uint8_t>(reach[i] + (high <= ranks[i] ? 1 : 0));
    }
  } else {
    for (int i = 0; i < count; ++i) {
      const std::uint8_t high = running_max[i] > other[i] ? running_max[i] : other[i];
      running_max[i] = high;
      reach[i] = static_cast<std::uint8_t>(reach[i] + (high < ranks[i] ? 1 : 0));
    }
  }
}

// For every position t of a lag's ranks a, its left reach A (1 + the number of
// positions just before t with a smaller rank) and its right reach B (1 + the
// number just after t with a rank no greater), both capped at m. Each run of
// consecutive positions is counted once, at its leftmost maximum: the runs of
// length j with their maximum at t are min(A, B, j, A + B - j) when positive.
// The histogram is indexed by (rank, A - 1, B - 1).
__attribute__((target_clones("avx2", "default"))) void CountBlock(const std::uint8_t* ranks,
                                                                  int count, int m,
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
    ExtendReach(ranks, ranks - k, count, left_max, left_reach, false);
    ExtendReach(ranks, ranks + k, count, right_max, right_reach, true);
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
__attribute__((target_clones("avx2", "default"))) void CountTopBlock(
    const std::uint8_t* __restrict ranks, int count, int j, int beyond,
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

// Slots of CountBlock's histogram, or of CountTopBlock's two copies and spares.
std::size_t HistogramSize(int group_size, int m, bool top_only) {
  const std::size_t ranks = static_cast<std::size_t>(group_size) + 1;
  return top_only ? 2 * ranks * ranks + kSpareSlots : ranks * m * m;
}

// One thread's share of the lags: ranks every lag into a padded byte row and
// histograms its positions, flushing the 32-bit histogram before it can wrap.
class LagCounter {
 public:
  LagCounter(std::span<const double> series, const DistanceRanks& ranks, int group_size, int m,
             bool top_only)
      : series_(series),
        ranks_(ranks),
        m_(m),
        top_only_(top_only),
        group_size_(group_size),
        row_(series.size() + 2 * kSideSlots, kPad),
        narrow_(HistogramSize(group_size, m, top_only), 0),
        wide_(narrow_.size(), 0) {}

  void CountLag(int lag) {
    const int count = static_cast<int>(series_.size()) - lag;
    if (pending_ + static_cast<std::uint64_t>(count) > std::numeric_limits<std::uint32_t>::max())
      Flush();
    pending_ += static_cast<std::uint64_t>(count);
    std::uint8_t* row = row_.data() + kSideSlots;
    ranks_.RankLag(series_.data(), lag, count, row);
    std::memset(row + count, kPad, kSideSlots);
    for (int start = 0; start < count; start += kBlock) {
      const int length = std::min(kBlock, count - start);
      if (top_only_)
        CountTopBlock(row + start, length, m_, group_size_, narrow_.data());
      else
        CountBlock(row + start, length, m_, narrow_.data());
    }
  }

  // The histogram over every lag counted so far: by (rank, A - 1, B - 1), or
  // for the top dimension alone by the run maxima of neighbouring positions,
  // in two interleaved copies.
  const std::vector<std::uint64_t>& Histogram() {
    Flush();
    return wide_;
  }

 private:
  void Flush() {
    for (std::size_t i = 0; i < narrow_.size(); ++i) {
      wide_[i] += narrow_[i];
      narrow_[i] = 0;
    }
    pending_ = 0;
  }

  std::span<const double> series_;
  const DistanceRanks& ranks_;
  int m_;
  bool top_only_;
  int group_size_;
  std::vector<std::uint8_t> row_;
  std::vector<std::uint32_t> narrow_;
  std::vector<std::uint64_t> wide_;
  std::uint64_t pending_ = 0;
};

// Sum of the per-thread histograms of every lag 1..n-1. Lags are handed out
// in small batches from a shared counter; integer sums make the order moot.
std::vector<std::uint64_t> CountAllLags(std::span<const double> series, const DistanceRanks& ranks,
                                        int group_size, int m, bool top_only, int threads) {
  const int n = static_cast<int>(series.size());
  std::atomic<int> next_lag{1};
  auto work = [&](LagCounter& counter) {
    constexpr int kBatch = 8;
    for (;;) {
      const int first = next_lag.fetch_add(kBatch);
      if (first >= n) break;
      for (int lag = first; lag < std::min(n, first + kBatch); ++lag) counter.CountLag(lag);
    }
  };
  std::vector<LagCounter> counters;
  counters.reserve(threads);
  for (int i = 0; i < threads; ++i) counters.emplace_back(series, ranks, group_size, m, top_only);
  std::vector<std::thread> helpers;
  for (int i = 1; i < threads; ++i) {
    // Without a further thread the ones started share its lags.
    try {
      helpers.emplace_back(work, std::ref(counters[i]));
    } catch (const std::system_error&) {
      break;
    }
  }
  work(counters[0]);
  for (auto& helper : helpers) helper.join();

  std::vector<std::uint64_t> total = counters[0].Histogram();
  for (int i = 1; i < threads; ++i) {
    const auto& part = counters[i].Histogram();
    for (std::size_t s = 0; s < total.size(); ++s) total[s] += part[s];
  }
  return total;
}

int ThreadCount(int requested, int n) {
  if (requested > 0) return requested;
  // Below a few hundred values a second thread costs more than it saves.
  if (n < 512) return 1;
  return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 64);
}

}  // namespace

PairCounts::PairCounts(int max_dimension, int grid_points)
    : max_dimension_(max_dimension),
      grid_points_(grid_points),
      counts_(static_cast<std::size_t>(max_dimension) * grid_points, 0) {}

std::uint64_t PairCounts::At(int dimension, int grid_point) const {
  assert(dimension >= 1 && dimension <= max_dimension_);
  assert(grid_point >= 0 && grid_point < grid_points_);
  return counts_[static_cast<std::size_t>(dimension - 1) * grid_points_ + grid_point];
}

std::uint64_t& PairCounts::At(int dimension, int grid_point) {
  assert(dimension >= 1 && dimension <= max_dimension_);
  assert(grid_point >= 0 && grid_point < grid_points_);
  return counts_[static_cast<std::size_t>(dimension - 1) * grid_points_ + grid_point];
}

PairCounts CountClosePairs(std::span<const double> series, std::span<const double> grid,
                           int max_dimension, Dimensions which, int threads) {
  assert(max_dimension >= 1 && max_dimension <= kMaxPairCountDimension);
  const int m = max_dimension;
  const int grid_points = static_cast<int>(grid.size());
  PairCounts result(m, grid_points);
  const int n = static_cast<int>(series.size());
  if (n < 2) return result;

  // The distinct usable thresholds in ascending order; -0 is 0 to a
  // comparison and becomes +0 so that bit patterns order like values.
  std::vector<double> thresholds;
  for (double eps : grid)
    if (eps >= 0) thresholds.push_back(eps == 0 ? 0.0 : eps);
  std::sort(thresholds.begin(), thresholds.end());
  thresholds.erase(std::unique(thresholds.begin(), thresholds.end()), thresholds.end());

  const int workers = ThreadCount(threads, n);
  // Runs of length j with their maximum at a position of left reach A and
  // right reach B, for every (A, B, j).
  auto runs = [](int a, int b, int j) { return std::max(0, std::min({a, b, j, a + b - j})); };

  for (std::size_t first = 0; first < thresholds.size(); first += kMaxGroup) {
    const std::size_t group_size = std::min<std::size_t>(kMaxGroup, thresholds.size() - first);
    const std::span<const double> group(thresholds.data() + first, group_size);
    const DistanceRanks ranks(group);
    const bool top_only = which == Dimensions::kTopOnly;
    const std::vector<std::uint64_t> histogram =
        CountAllLags(series, ranks, static_cast<int>(group_size), m, top_only, workers);

    // close[j - 1][g]: pairs of j-histories within group[g], after a running
    // sum over the ranks.
    std::vector<std::vector<std::uint64_t>> close(m, std::vector<std::uint64_t>(group_size, 0));
    for (std::size_t g = 0; g < group_size; ++g) {
      if (top_only) {
        const std::size_t side = group_size + 1;
        for (std::size_t copy = 0; copy < 2; ++copy)
          for (std::size_t other = 0; other < side; ++other) {
            const std::size_t base = copy * side * side;
            close[m - 1][g] +=
                histogram[base + g * side + other] + histogram[base + other * side + g];
          }
        continue;
      }
      for (int a = 1; a <= m; ++a)
        for (int b = 1; b <= m; ++b) {
          const std::uint64_t h = histogram[(g * m + a - 1) * m + b - 1];
          if (h == 0) continue;
          for (int j = 1; j <= m; ++j)
            close[j - 1][g] += h * static_cast<std::uint64_t>(runs(a, b, j));
        }
    }
    for (auto& row : close)
      for (std::size_t g = 1; g < group_size; ++g) row[g] += row[g - 1];

    for (int k = 0; k < grid_points; ++k) {
      if (!(grid[k] >= 0)) continue;
      const double eps = grid[k] == 0 ? 0.0 : grid[k];
      const auto it = std::lower_bound(group.begin(), group.end(), eps);
      if (it == group.end() || *it != eps) continue;
      const std::size_t g = static_cast<std::size_t>(it - group.begin());
      for (int j = 1; j <= m; ++j) result.At(j, k) = close[j - 1][g];
    }
  }
  return result;
}

double CorrelationIntegralFromCount(std::uint64_t close_pairs, int n, int dimension) {
  const double histories = n - dimension + 1;
  return 2.0 * static_cast<double>(close_pairs) / (histories * (histories - 1));
}

}  // namespace ixo

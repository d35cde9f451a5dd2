#include "distance_ranks.h"

#include <algorithm>
#include <cmath>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace ixo {
namespace {

// Bucket tables larger than this fall back to a binary search per difference.
constexpr std::uint64_t kMaxBuckets = std::uint64_t{1} << 20;
constexpr int kMaxShift = kRankBaseShift - 1;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

std::uint64_t Bits(double value) {
  return std::bit_cast<std::uint64_t>(value);
}

void RankLagPlain(const double* __restrict x, int lag, int count, std::uint8_t* __restrict out,
                  const BucketTable& table) {
  const double* __restrict partner = x + lag;
  for (int t = 0; t < count; ++t) out[t] = RankOne(std::fabs(x[t] - partner[t]), table);
}

#if defined(__x86_64__)
// The same with AVX2 gathers, 16 differences per step. GCC's generic tuning
// will not emit gathers for the plain loop, so this one is written out.
__attribute__((target("avx2"), aligned(64))) void RankLagAvx2(const double* __restrict x, int lag,
                                                              int count,
                                                              std::uint8_t* __restrict out,
                                                              const BucketTable& table) {
  const double* __restrict partner = x + lag;
  const __m256d sign = _mm256_set1_pd(-0.0);
  const __m256d low = _mm256_set1_pd(table.low);
  const __m256d high = _mm256_set1_pd(table.high);
  const __m256i lo = _mm256_set1_epi64x(static_cast<long long>(Bits(table.low)));
  const __m128i shift = _mm_cvtsi32_si128(table.shift);
  const __m256i within = _mm256_set1_epi64x((std::int64_t{1} << table.shift) - 1);
  const __m256i position_mask = _mm256_set1_epi64x(kRankPositionMask);
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
      const __m256i rank = _mm256_sub_epi64(_mm256_srli_epi64(entry, kRankBaseShift), above);
      quarter[q] = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(rank, even_dwords));
    }
    const __m128i low_half = _mm_packus_epi32(quarter[0], quarter[1]);
    const __m128i high_half = _mm_packus_epi32(quarter[2], quarter[3]);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + t), _mm_packus_epi16(low_half, high_half));
  }
  for (; t < count; ++t) out[t] = RankOne(std::fabs(x[t] - partner[t]), table);
}
#endif

}  // namespace

// A bucket's entry holds the number of thresholds below the bucket in its top
// byte and the position of its threshold within the bucket below that (one
// past the bucket's end when it holds none).
DistanceRanks::DistanceRanks(std::span<const double> thresholds)
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
    table_[b] = static_cast<std::int64_t>((std::uint64_t{below} << kRankBaseShift) | position);
  }
}

void DistanceRanks::RankLag(const double* x, int lag, int count, std::uint8_t* out,
                            [[maybe_unused]] bool avx2) const {
  if (table_.empty()) {
    for (int t = 0; t < count; ++t) {
      const double d = std::fabs(x[t] - x[t + lag]);
      out[t] = static_cast<std::uint8_t>(
          std::lower_bound(thresholds_.begin(), thresholds_.end(), d) - thresholds_.begin());
    }
    return;
  }
#if defined(__x86_64__)
  if (avx2) return RankLagAvx2(x, lag, count, out, table());
#endif
  RankLagPlain(x, lag, count, out, table());
}

}  // namespace ixo

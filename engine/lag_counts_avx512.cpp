// The AVX-512 counting path. Each lag's differences are ranked 64 at a time
// through byte permutes of the bucket table, then counted 64 positions (a
// chunk) at a time: for each dimension j the running maximum of j
// consecutive ranks is compared with 8 distances at once -- a byte permute
// gives each position a "thermometer" byte (bit i set when it lies within
// distance 8q + i), an 8x8 bit transpose (GF2P8AFFINEQB) turns 8 positions'
// bytes into one byte per distance, and a byte population count adds them
// up. Chunks are counted in tiles whose running maxima stay in the
// first-level cache; a group of distances that no position of a chunk
// reaches in one dimension skips that chunk in the dimensions above (the
// check is skipped for a while where it dropped none). A last
// group of at most three distances (the 41st of a default grid) is counted
// with one byte comparison per distance instead of a thermometer. Every
// function that uses these instructions carries their target attribute; the
// rest of the engine is built for the baseline processor and calls in only
// where Avx512CounterSupported() says so.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "ixo_settings.h"
#include "lag_counter.h"
#include "pair_counts.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// GCC 12 takes the intrinsics' deliberately undefined start values (as in
// _mm512_set1_epi8) for uninitialised reads.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

namespace ixo {

#if defined(__x86_64__)

#define IXO_AVX512_TARGET \
  __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512bitalg,gfni,avx2")))

namespace {

constexpr int kLanes = 64;
// Rows carry pad bytes past their last difference for the last chunk and the
// runs that start in it (up to 16 positions long).
constexpr int kRowSlack = kLanes + 16;
// A tile's running maxima stay in the first-level cache between its two
// passes; its byte counters take at most 8 per chunk, so 31 chunks fit.
constexpr int kTileChunks = 31;
// Bucket tables up to this size are looked up with two-table byte permutes,
// behind one more bucket that stands for "below the first distance"; larger
// ones take the AVX2 gathers.
constexpr std::size_t kPermuteBuckets = 127;
// A last group of up to this many distances is counted by comparisons.
constexpr int kMaxCompared = 3;
// Where the check for chunks that reach no distance of a group dropped none,
// it is skipped until this many more lags have been counted.
constexpr int kPruningLags = 16;

struct alignas(64) Lanes {
  std::uint8_t byte[kLanes];
};

// Four registers of 8 signed 64-bit lanes within the range of 32 bits packed
// into 32 words, each lane saturated to 0..65535: lane l of the result holds
// the lanes 2l and 2l + 1 of a, b, c and d.
IXO_AVX512_TARGET inline __m512i Pack(__m512i a, __m512i b, __m512i c, __m512i d) {
  return _mm512_packus_epi32(_mm512_packus_epi32(a, b), _mm512_packus_epi32(c, d));
}

// Where Pack leaves the low byte of the word of difference p (of 64, 8 to a
// register) in the 128 bytes of two packed registers.
constexpr std::uint8_t PackedByte(int p) {
  const int k = p / 8;      // register
  const int l = p % 8 / 2;  // its 128-bit lane
  const int e = p % 2;      // first or second word in the lane
  return static_cast<std::uint8_t>(64 * (k / 4) + 2 * (8 * l + 2 * (k % 4) + e));
}

// Adds byte counters to 8 counts: the 8 words of `bytes` hold the same 8
// distances, so they are summed first (at most 8 x 248 fits 16 bits).
IXO_AVX512_TARGET inline void AddBytes(__m512i bytes, std::uint64_t* counts) {
  const __m512i words = _mm512_add_epi16(_mm512_cvtepu8_epi16(_mm512_castsi512_si256(bytes)),
                                         _mm512_cvtepu8_epi16(_mm512_extracti64x4_epi64(bytes, 1)));
  const __m256i half =
      _mm256_add_epi16(_mm512_castsi512_si256(words), _mm512_extracti64x4_epi64(words, 1));
  const __m128i quarter =
      _mm_add_epi16(_mm256_castsi256_si128(half), _mm256_extracti128_si256(half, 1));
  _mm512_storeu_si512(counts,
                      _mm512_add_epi64(_mm512_loadu_si512(counts), _mm512_cvtepu16_epi64(quarter)));
}

// Positions of the chunks `live[0..count)` whose running maximum lies within
// each of the 8 distances 8q .. 8q + 7, added to `counts`. With kDirect the
// maxima index the group's 64-entry thermometer table as they are (ranks up
// to 62, the pad reading entry 63); else they are first taken relative to 8q
// and capped at 8. With kKeep, keeps in `live` the chunks with a position
// within 8q + 7 and returns their number: a running maximum only grows with
// the dimension, so the others have none there in the dimensions above.
template <bool kDirect, bool kKeep>
IXO_AVX512_TARGET inline int CountWithin(const Lanes* maxima, std::uint8_t* live, int count, int q,
                                         const Lanes& thermometers, std::uint64_t* counts) {
  const __m512i unit = _mm512_set1_epi64(static_cast<long long>(0x8040201008040201ull));
  const __m512i table = _mm512_load_si512(thermometers.byte);
  const __m512i offset = _mm512_set1_epi8(static_cast<char>(8 * q));
  const __m512i eight = _mm512_set1_epi8(8);
  __m512i sum = _mm512_setzero_si512();
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    const int c = live[i];
    const __m512i high = _mm512_load_si512(maxima[c].byte);
    const __m512i index = kDirect ? high : _mm512_min_epu8(_mm512_subs_epu8(high, offset), eight);
    const __m512i thermometer = _mm512_permutexvar_epi8(index, table);
    // Byte i of each 8-byte word: bit i of the word's 8 thermometers.
    const __m512i within = _mm512_gf2p8affine_epi64_epi8(unit, thermometer, 0);
    sum = _mm512_add_epi8(sum, _mm512_popcnt_epi8(within));
    if (kKeep) {
      live[kept] = static_cast<std::uint8_t>(c);
      kept += _mm512_test_epi8_mask(thermometer, thermometer) != 0 ? 1 : 0;
    }
  }
  AddBytes(sum, counts);
  return kept;
}

// Positions of the chunks `maxima[0..chunks)` whose running maximum lies
// within each of the kDistances ranks first_rank, first_rank + 1, ...,
// added to `counts`: one comparison per distance, for a last group of a few
// distances (the default grids' 41st), where a thermometer costs more. A
// byte counter takes at most one per chunk.
template <int kDistances>
IXO_AVX512_TARGET inline void CountAtMost(const Lanes* maxima, int chunks, int first_rank,
                                          std::uint64_t* counts) {
  const __m512i one = _mm512_set1_epi8(1);
  __m512i limit[kDistances];
  __m512i sum[kDistances];
  for (int i = 0; i < kDistances; ++i) {
    limit[i] = _mm512_set1_epi8(static_cast<char>(first_rank + i));
    sum[i] = _mm512_setzero_si512();
  }
  for (int c = 0; c < chunks; ++c) {
    const __m512i high = _mm512_load_si512(maxima[c].byte);
    for (int i = 0; i < kDistances; ++i)
      sum[i] = _mm512_mask_add_epi8(sum[i], _mm512_cmple_epu8_mask(high, limit[i]), sum[i], one);
  }
  for (int i = 0; i < kDistances; ++i) {
    alignas(64) std::uint64_t lanes[8];
    _mm512_store_si512(lanes, _mm512_sad_epu8(sum[i], _mm512_setzero_si512()));
    for (std::uint64_t lane : lanes) counts[i] += lane;
  }
}

// The running maxima of dimensions first..kM of `chunks` chunks of 64 ranks
// from `ranks`: maxima[(j - first) * kTileChunks + c] for dimension j of
// chunk c. The dimension loop is unrolled for each kM, so that a chunk costs
// its loads, maxima and stores alone.
template <int kM>
IXO_AVX512_TARGET void StoreMaxima(const std::uint8_t* ranks, int chunks, int first,
                                   Lanes* maxima) {
  for (int c = 0; c < chunks; ++c) {
    const std::uint8_t* at = ranks + c * kLanes;
    __m512i high = _mm512_loadu_si512(at);
#pragma GCC unroll 16
    for (int j = 1; j <= kM; ++j) {
      if (j > 1) high = _mm512_max_epu8(high, _mm512_loadu_si512(at + j - 1));
      if (j >= first) _mm512_store_si512(maxima[(j - first) * kTileChunks + c].byte, high);
    }
  }
}

using StoreMaximaFunction = void (*)(const std::uint8_t*, int, int, Lanes*);

template <int... kM>
constexpr std::array<StoreMaximaFunction, sizeof...(kM)> MaximaFunctions(
    std::integer_sequence<int, kM...>) {
  return {&StoreMaxima<kM + 1>...};
}

// StoreMaxima<m> at index m - 1.
constexpr auto kStoreMaxima = MaximaFunctions(std::make_integer_sequence<int, kMaxDimension>());

// Aligned to whole cache lines: the counters of two threads share none.
class alignas(64) Avx512Counter final : public LagCounter {
 public:
  void Start(const LagJob& job) override {
    job_ = job;
    row_.assign(job.series.size() + kRowSlack, kRankPad);
    groups_ = (job.group_size + 7) / 8;
    first_ = job.first();
    lags_ = 0;
    const std::size_t dimensions = static_cast<std::size_t>(job.m - first_ + 1);
    maxima_.assign(dimensions * kTileChunks, Lanes{});
    counts_.assign(dimensions * groups_ * 8, 0);
    pruning_.assign(dimensions * groups_, 1);
    BuildTables();
  }

  void CountLag(int lag) override {
    const int count = static_cast<int>(job_.series.size()) - lag;
    std::uint8_t* row = row_.data();
    RankLag(lag, count, row);
    std::memset(row + count, kRankPad, kRowSlack);
    if (++lags_ % kPruningLags == 0) std::fill(pruning_.begin(), pruning_.end(), std::uint8_t{1});
    for (int t = 0; t < count; t += kTileChunks * kLanes) {
      const int chunks = std::min(kTileChunks, (count - t + kLanes - 1) / kLanes);
      CountTile(row + t, chunks);
    }
  }

  void AddClosePairs(std::span<std::uint64_t> close) override {
    const std::size_t group = static_cast<std::size_t>(job_.group_size);
    for (int j = first_; j <= job_.m; ++j)
      for (std::size_t g = 0; g < group; ++g)
        close[static_cast<std::size_t>(j - 1) * group + g] +=
            counts_[static_cast<std::size_t>(j - first_) * groups_ * 8 + g];
  }

 private:
  // The byte tables of the rank step and the thermometers of the count step.
  void BuildTables() {
    const BucketTable table = job_.ranks->table();
    const std::size_t buckets = job_.ranks->buckets();
    permute_ = table.entries != nullptr && buckets <= kPermuteBuckets;
    if (permute_) {
      base_[0] = 0;
      fraction_[0] = 255;
      for (std::size_t b = 0; b < buckets; ++b) {
        const std::int64_t e = table.entries[b];
        base_[b + 1] = static_cast<std::uint8_t>(e >> kRankBaseShift);
        // The threshold's position within its bucket, to the bucket's top 8
        // bits; 255 (a tie, redone exactly) also stands for "no threshold".
        const auto position = static_cast<std::uint64_t>(e & kRankPositionMask);
        const std::uint64_t top =
            table.shift >= 8 ? position >> (table.shift - 8) : position << (8 - table.shift);
        fraction_[b + 1] = static_cast<std::uint8_t>(top > 255 ? 255 : top);
      }
    }
    // The bits of distances past the group stay 0, so that the positions
    // beyond every distance keep no chunk alive.
    direct_ = job_.group_size <= 62;
    const int tail = job_.group_size % 8;
    compared_ = tail <= kMaxCompared ? tail : 0;
    thermometers_.assign(groups_, Lanes{});
    for (int q = 0; q < groups_; ++q)
      for (int r = 0; r < kLanes; ++r) {
        std::uint8_t bits = 0;
        for (int i = 0; i < 8; ++i) {
          const int distance = 8 * q + i;
          const bool within = direct_ ? r <= distance : r <= i;
          if (within && distance < job_.group_size)
            bits = static_cast<std::uint8_t>(bits | 1u << i);
        }
        thermometers_[q].byte[r] = bits;
      }
  }

  // The ranks of one lag, 64 differences a step: each difference's offset
  // from one bucket below the table's start, to the bucket's top 8 bits,
  // gives its bucket and the fraction within it in one 16-bit word (the
  // differences below that bucket clamped to its start); two byte permutes
  // look up the bucket's rank base and threshold fraction. Where the
  // fractions are equal the rank is redone exactly.
  IXO_AVX512_TARGET void RankLag(int lag, int count, std::uint8_t* out) {
    if (!permute_) return job_.ranks->RankLag(job_.series.data(), lag, count, out, true);
    const BucketTable table = job_.ranks->table();
    const double* x = job_.series.data();
    const long long origin =
        static_cast<long long>(std::bit_cast<std::uint64_t>(table.low)) - (1ll << table.shift);
    const __m512i origin_bits = _mm512_set1_epi64(origin);
    const __m512i high_offset = _mm512_set1_epi64(
        static_cast<long long>(std::bit_cast<std::uint64_t>(table.high)) - origin);
    const __m512i zero = _mm512_setzero_si512();
    const bool wide = table.shift >= 8;
    const __m128i fraction_shift = _mm_cvtsi32_si128(wide ? table.shift - 8 : 8 - table.shift);
    // Where the offsets shifted to the fraction's bits fit 32 bits with their
    // sign, the packs' unsigned saturation clamps them from below (and the
    // packed words are clamped from above), instead of two clamps of 8
    // offsets each.
    const bool saturating = table.shift - 8 >= 32;
    const __m512i high_key = _mm512_set1_epi16(
        saturating ? static_cast<short>((std::bit_cast<std::uint64_t>(table.high) -
                                         static_cast<std::uint64_t>(origin)) >>
                                        (table.shift - 8))
                   : 0);
    const __m512i base_low = _mm512_loadu_si512(base_);
    const __m512i base_high = _mm512_loadu_si512(base_ + 64);
    const __m512i fraction_low = _mm512_loadu_si512(fraction_);
    const __m512i fraction_high = _mm512_loadu_si512(fraction_ + 64);
    const __m512i one = _mm512_set1_epi8(1);
    alignas(64) std::uint8_t order[2 * kLanes];
    for (int p = 0; p < kLanes; ++p) {
      order[p] = PackedByte(p);
      order[kLanes + p] = static_cast<std::uint8_t>(PackedByte(p) + 1);
    }
    const __m512i low_bytes = _mm512_load_si512(order);
    const __m512i high_bytes = _mm512_load_si512(order + kLanes);
    const int whole = count & ~(kLanes - 1);
    for (int t = 0; t < whole; t += kLanes) {
      __m512i words[8];
      for (int k = 0; k < 8; ++k) {
        const double* at = x + t + 8 * k;
        const __m512d d =
            _mm512_abs_pd(_mm512_sub_pd(_mm512_loadu_pd(at), _mm512_loadu_pd(at + lag)));
        const __m512i offset = _mm512_sub_epi64(_mm512_castpd_si512(d), origin_bits);
        if (saturating) {
          words[k] = _mm512_sra_epi64(offset, fraction_shift);
          continue;
        }
        const __m512i clamped = _mm512_max_epi64(_mm512_min_epi64(offset, high_offset), zero);
        words[k] = wide ? _mm512_srl_epi64(clamped, fraction_shift)
                        : _mm512_sll_epi64(clamped, fraction_shift);
      }
      __m512i first = Pack(words[0], words[1], words[2], words[3]);
      __m512i second = Pack(words[4], words[5], words[6], words[7]);
      if (saturating) {
        first = _mm512_min_epu16(first, high_key);
        second = _mm512_min_epu16(second, high_key);
      }
      const __m512i fraction = _mm512_permutex2var_epi8(first, low_bytes, second);
      const __m512i bucket = _mm512_permutex2var_epi8(first, high_bytes, second);
      const __m512i base = _mm512_permutex2var_epi8(base_low, bucket, base_high);
      const __m512i threshold = _mm512_permutex2var_epi8(fraction_low, bucket, fraction_high);
      const __mmask64 above = _mm512_cmpgt_epu8_mask(fraction, threshold);
      _mm512_storeu_si512(out + t, _mm512_mask_add_epi8(base, above, base, one));
      for (__mmask64 ties = _mm512_cmpeq_epu8_mask(fraction, threshold); ties != 0;
           ties &= ties - 1) {
        const int i = t + __builtin_ctzll(ties);
        out[i] = RankOne(std::fabs(x[i] - x[i + lag]), table);
      }
    }
    for (int t = whole; t < count; ++t) out[t] = RankOne(std::fabs(x[t] - x[t + lag]), table);
  }

  // Up to kTileChunks chunks of 64 positions from `ranks`: first the running
  // maxima of every dimension counted, then each against every group of 8
  // distances.
  IXO_AVX512_TARGET void CountTile(const std::uint8_t* ranks, int chunks) {
    const int m = job_.m;
    const int first = first_;
    Lanes* maxima = maxima_.data();
    kStoreMaxima[m - 1](ranks, chunks, first, maxima);
    // Each group of distances visits only the chunks that still reach it; a
    // short last group is compared with every chunk instead.
    const int groups = groups_;
    const int thermometer_groups = compared_ > 0 ? groups - 1 : groups;
    const int tail_rank = 8 * (groups - 1);
    for (int q = 0; q < thermometer_groups; ++q) {
      live_count_[q] = chunks;
      for (int c = 0; c < chunks; ++c) live_[q][c] = static_cast<std::uint8_t>(c);
    }
    for (int j = first; j <= m; ++j) {
      const Lanes* of_j = maxima + (j - first) * kTileChunks;
      std::uint64_t* counts = counts_.data() + static_cast<std::size_t>(j - first) * groups * 8;
      if (compared_ == 1) CountAtMost<1>(of_j, chunks, tail_rank, counts + tail_rank);
      if (compared_ == 2) CountAtMost<2>(of_j, chunks, tail_rank, counts + tail_rank);
      if (compared_ == 3) CountAtMost<3>(of_j, chunks, tail_rank, counts + tail_rank);
      for (int q = 0; q < thermometer_groups; ++q) {
        int& live = live_count_[q];
        if (live == 0) continue;
        const Lanes& table = thermometers_[q];
        std::uint8_t& pruning = pruning_[static_cast<std::size_t>(j - first) * groups + q];
        const bool keep = j < m && pruning != 0;
        int kept = 0;
        if (direct_)
          kept = keep ? CountWithin<true, true>(of_j, live_[q], live, q, table, counts + 8 * q)
                      : CountWithin<true, false>(of_j, live_[q], live, q, table, counts + 8 * q);
        else
          kept = keep ? CountWithin<false, true>(of_j, live_[q], live, q, table, counts + 8 * q)
                      : CountWithin<false, false>(of_j, live_[q], live, q, table, counts + 8 * q);
        // Where the check dropped no chunk, the next tiles count them all: a
        // chunk that reaches no distance adds nothing, and on wide grids the
        // check, a third of the count, seldom drops one.
        if (keep) {
          pruning = kept < live ? 1 : 0;
          live = kept;
        }
      }
    }
  }

  LagJob job_;
  std::vector<std::uint8_t> row_;
  std::vector<Lanes> maxima_;          // per counted dimension, kTileChunks chunks
  std::vector<std::uint64_t> counts_;  // per counted dimension, 8 per group of distances
  std::vector<Lanes> thermometers_;
  // Per counted dimension and group of distances: 1 while the check there
  // still drops chunks (or kPruningLags lags have passed since it last ran).
  std::vector<std::uint8_t> pruning_;
  int lags_ = 0;
  std::uint8_t live_[(kMaxRankGroup + 7) / 8][kTileChunks] = {};
  int live_count_[(kMaxRankGroup + 7) / 8] = {};
  std::uint8_t base_[2 * kLanes] = {};
  std::uint8_t fraction_[2 * kLanes] = {};
  bool permute_ = false;
  bool direct_ = false;
  int compared_ = 0;  // distances of the last group counted by comparison, 0 for none
  int groups_ = 0;
  int first_ = 1;
};

}  // namespace

bool Avx512CounterSupported() {
  static const bool supported =
      __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
      __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi") &&
      __builtin_cpu_supports("avx512bitalg") && __builtin_cpu_supports("gfni");
  return supported;
}

std::unique_ptr<LagCounter> MakeAvx512Counter() {
  return std::make_unique<Avx512Counter>();
}

#else

bool Avx512CounterSupported() {
  return false;
}

std::unique_ptr<LagCounter> MakeAvx512Counter() {
  return nullptr;
}

#endif

}  // namespace ixo

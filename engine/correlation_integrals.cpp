#include "correlation_integrals.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "ixo_settings.h"

namespace ixo {
namespace {

constexpr int kLagsPerWord = 15;

struct Pair {
  double value;
  int32_t position;
};

// The module-wide tables; `n == 0` means not built (the set-up flag).
struct Tables {
  int n = 0;
  Pair* pairs = nullptr;        // n records, sorted by value on every call
  uint16_t* words = nullptr;    // all bit rows, one after another
  size_t word_count = 0;        // sum over i = 0..n of ((n - i) / 15 + 1)
  size_t* row_start = nullptr;  // n + 1 offsets into `words`
  int32_t* masks = nullptr;  // 2n: entry 2r for the last word of row r, 2r + 1 for the one before
  int32_t powers[kLagsPerWord] = {};
  int32_t* bit_count = nullptr;  // 32768 entries
};

Tables tables;

// Frees what was built so far and reports the failure to the caller, whose
// program says "Out of memory" and ends with status -1 (see engine_run.h).
[[noreturn]] void OutOfMemory() {
  release_tables();
  throw std::bad_alloc();
}

template <typename T>
T* ZeroFilled(size_t count) {
  void* p = std::calloc(count, sizeof(T));
  if (p == nullptr) OutOfMemory();
  return static_cast<T*>(p);
}

// Number of 16-bit words of row r in a series of n values.
inline int RowWords(int n, int r) {
  return (n - 1 - r) / kLagsPerWord + 1;
}

// Bytes the tables of a series of n values take, the bit rows above all
// (about n^2 / 15 bytes: 670 MB for 100000 values).
size_t TableBytes(int n) {
  size_t words = 0;
  for (int i = 0; i <= n; ++i) words += static_cast<size_t>((n - i) / kLagsPerWord + 1);
  const size_t count = static_cast<size_t>(n);
  return words * sizeof(uint16_t) + 2 * count * sizeof(int32_t) + 32768 * sizeof(int32_t) +
         count * sizeof(Pair) + (count + 1) * sizeof(size_t);
}

// Memory the process can still count on: what the system has available
// (MemAvailable and SwapFree of /proc/meminfo) and what its address-space and
// data limits leave; SIZE_MAX where nothing is known.
size_t AvailableBytes() {
  size_t available = SIZE_MAX;
  if (std::FILE* meminfo = std::fopen("/proc/meminfo", "r")) {
    unsigned long long memory_kb = 0;
    unsigned long long swap_kb = 0;
    bool found = false;
    char line[256];
    while (std::fgets(line, sizeof line, meminfo) != nullptr) {
      found = std::sscanf(line, "MemAvailable: %llu kB", &memory_kb) == 1 || found;
      std::sscanf(line, "SwapFree: %llu kB", &swap_kb);
    }
    std::fclose(meminfo);
    if (found) available = static_cast<size_t>((memory_kb + swap_kb) * 1024);
  }
  // /proc/self/statm: total program size first, data and stack sixth, in pages.
  unsigned long long pages[6] = {};
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    for (unsigned long long& p : pages) {
      if (std::fscanf(statm, "%llu", &p) != 1) break;
    }
    std::fclose(statm);
  }
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const std::pair<int, unsigned long long> limits[] = {{RLIMIT_AS, pages[0]},
                                                       {RLIMIT_DATA, pages[5]}};
  for (const auto& [resource, used_pages] : limits) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) continue;
    const size_t used = static_cast<size_t>(used_pages) * page;
    const size_t left = limit.rlim_cur > used ? static_cast<size_t>(limit.rlim_cur) - used : 0;
    available = std::min(available, left);
  }
  return available;
}

void BuildTables(int n) {
  // Said before anything is allocated: tables larger than the memory at hand
  // would be granted by the system and then cost the process its life (or
  // another's) once they are filled.
  const size_t needed = TableBytes(n);
  if (const size_t available = AvailableBytes(); needed > available) {
    std::fprintf(stderr,
                 "ixo_engine: %d values need %zu MB for the correlation-integral tables; "
                 "%zu MB of memory are available\n",
                 n, needed >> 20, available >> 20);
    OutOfMemory();
  }
  Tables& t = tables;
  t.masks = ZeroFilled<int32_t>(2 * static_cast<size_t>(n));
  t.bit_count = ZeroFilled<int32_t>(32768);
  t.pairs = ZeroFilled<Pair>(n);
  t.row_start = ZeroFilled<size_t>(static_cast<size_t>(n) + 1);
  t.word_count = 0;
  for (int i = 0; i <= n; ++i) t.word_count += static_cast<size_t>((n - i) / kLagsPerWord + 1);
  t.words = ZeroFilled<uint16_t>(t.word_count);

  t.row_start[0] = 0;
  for (int r = 0; r < n; ++r) t.row_start[r + 1] = t.row_start[r] + RowWords(n, r);
  t.powers[0] = 1;
  for (int k = 1; k < kLagsPerWord; ++k) t.powers[k] = 2 * t.powers[k - 1];
  for (int v = 0; v < 32768; ++v) {
    int bits = 0;
    for (int k = 0; k < kLagsPerWord; ++k) bits += (v & t.powers[k]) != 0;
    t.bit_count[v] = bits;
  }
  t.n = n;
}

// Sets the bit of the pair of positions (lo, hi), lo < hi, in row lo.
inline void SetPairBit(int lo, int hi) {
  const int d = hi - lo - 1;
  tables.words[tables.row_start[lo] + d / kLagsPerWord] |=
      static_cast<uint16_t>(tables.powers[14 - d % kLagsPerWord]);
}

// Masks of rows 0 .. n - i for dimension i: hide the partners t > n - i.
void SetMasks(int n, int i) {
  const int k = i - 1;
  for (int r = 0; r <= n - i; ++r) {
    int32_t* mask = tables.masks + 2 * static_cast<size_t>(r);
    mask[0] = 0xFFFF;
    mask[1] = 0xFFFF;
    const int last_word = (n - 1 - r) / kLagsPerWord;
    for (int t = n - k; t <= n - 1; ++t) {
      const int d = t - r - 1;
      mask[last_word - d / kLagsPerWord] &= ~tables.powers[14 - d % kLagsPerWord];
    }
  }
}

// Row r becomes row r AND row r + 1, for r = 0 .. n - i - 1, in increasing r.
void AndPass(int n, int i) {
  for (int r = 0; r <= n - i - 1; ++r) {
    uint16_t* row = tables.words + tables.row_start[r];
    const uint16_t* next = tables.words + tables.row_start[r + 1];
    const int words = RowWords(n, r);
    const int next_words = RowWords(n, r + 1);
    for (int w = 0; w < next_words; ++w) row[w] &= next[w];
    if (words > next_words) row[words - 1] = 0;
  }
}

// 2a / (M (M - 1)) over rows 0 .. M - 1, a = the set bits under the masks.
double Count(int n, int big_m) {
  const int32_t* bits = tables.bit_count;
  int64_t a = 0;
  for (int r = 0; r < big_m; ++r) {
    const uint16_t* row = tables.words + tables.row_start[r];
    const int32_t* mask = tables.masks + 2 * static_cast<size_t>(r);
    const int words = RowWords(n, r);
    if (words <= 2) {
      a += bits[row[words - 1] & mask[0]];
      if (words == 2) a += bits[row[0] & mask[1]];
    } else {
      for (int w = 0; w < words - 2; ++w) a += bits[row[w]];
      a += bits[row[words - 2] & mask[1]];
      a += bits[row[words - 1] & mask[0]];
    }
  }
  const double md = big_m;
  return 2.0 * static_cast<double>(a) / (md * (md - 1));
}

}  // namespace

KernelResult correlation_integrals(std::span<const double> x, int m, double eps) {
  const int n = static_cast<int>(x.size());
  assert(n >= 2 && m >= 1 && m <= kMaxDimension && m <= n - 1 && eps > 0);
  if (tables.n != n) {
    release_tables();
    BuildTables(n);
  }
  Tables& t = tables;
  std::memset(t.words, 0, t.word_count * sizeof(uint16_t));

  for (int i = 0; i < n; ++i) t.pairs[i] = Pair{x[i], i};
  std::sort(t.pairs, t.pairs + n, [](const Pair& a, const Pair& b) { return a.value < b.value; });

  // Neighbour scan: each close pair sets its bit once, from the one of the two
  // that sorts first; f counts the values within eps of value(p), itself included.
  int64_t total = 0;   // T
  double squares = 0;  // S
  for (int p = 0; p < n; ++p) {
    const double vp = t.pairs[p].value;
    const int pos_p = t.pairs[p].position;
    int64_t f = 0;
    for (int q = p; q < n && t.pairs[q].value - vp <= eps; ++q) {
      const int pos_q = t.pairs[q].position;
      if (pos_q != pos_p) SetPairBit(std::min(pos_p, pos_q), std::max(pos_p, pos_q));
      ++f;
    }
    for (int r = p - 1; r >= 0 && vp - t.pairs[r].value <= eps; --r) ++f;
    total += f;
    squares += static_cast<double>(f * f);
  }

  KernelResult result;
  const double nd = n;
  result.K = squares / (nd * nd * nd);
  result.c = static_cast<double>(total) / (nd * nd);
  result.integrals[1] = static_cast<double>(total - n) / (nd * (nd - 1));
  for (int i = 2; i <= m; ++i) {
    SetMasks(n, i);
    AndPass(n, i);
    result.integrals[i] = Count(n, n - i + 1);
  }
  return result;
}

void release_tables() {
  std::free(tables.pairs);
  std::free(tables.words);
  std::free(tables.row_start);
  std::free(tables.masks);
  std::free(tables.bit_count);
  tables = Tables{};
}

}  // namespace ixo

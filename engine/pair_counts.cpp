#include "pair_counts.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>
#include <system_error>
#include <thread>

#include "distance_ranks.h"
#include "ixo_settings.h"
#include "lag_counter.h"

namespace ixo {
namespace {

int ThreadCount(int requested, int n) {
  if (requested > 0) return requested;
  // Below a few hundred values a second thread costs more than it saves.
  if (n < 512) return 1;
  return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 64);
}

std::unique_ptr<LagCounter> MakeCounter(PairCountPath path) {
  if (path == PairCountPath::kAvx512) return MakeAvx512Counter();
  return MakeReachCounter(path == PairCountPath::kAvx2);
}

// Hands out the lags 1..n-1 in small batches from a shared counter to
// `workers` counters, the first on the calling thread. Without a further
// thread the ones started share its lags; integer sums make the order moot.
void CountAllLags(int n, std::span<const std::unique_ptr<LagCounter>> counters) {
  std::atomic<int> next_lag{1};
  auto work = [&](LagCounter& counter) {
    constexpr int kBatch = 8;
    for (;;) {
      const int first = next_lag.fetch_add(kBatch);
      if (first >= n) break;
      for (int lag = first; lag < std::min(n, first + kBatch); ++lag) counter.CountLag(lag);
    }
  };
  std::vector<std::thread> helpers;
  for (std::size_t i = 1; i < counters.size(); ++i) {
    try {
      helpers.emplace_back(work, std::ref(*counters[i]));
    } catch (const std::system_error&) {
      break;
    }
  }
  work(*counters[0]);
  for (auto& helper : helpers) helper.join();
}

}  // namespace

PairCountPath PairCountPathNamed(const char* name) {
  if (name == nullptr) return PairCountPath::kAuto;
  if (std::strcmp(name, "portable") == 0) return PairCountPath::kPortable;
  if (std::strcmp(name, "avx2") == 0) return PairCountPath::kAvx2;
  if (std::strcmp(name, "avx512") == 0) return PairCountPath::kAvx512;
  return PairCountPath::kAuto;
}

bool PairCountPathSupported(PairCountPath path) {
  switch (path) {
    case PairCountPath::kAvx512:
      return Avx512CounterSupported();
    case PairCountPath::kAvx2:
#if defined(__x86_64__)
      return __builtin_cpu_supports("avx2");
#else
      return false;
#endif
    default:
      return true;
  }
}

PairCountPath ResolvePairCountPath(PairCountPath path, std::size_t n, Dimensions which) {
  if (path == PairCountPath::kAuto) {
    path = n < kAvx512MinLength && which != Dimensions::kTopOnly ? PairCountPath::kAvx2
                                                                 : PairCountPath::kAvx512;
  }
  if (path == PairCountPath::kAvx512 && !PairCountPathSupported(path)) path = PairCountPath::kAvx2;
  if (path == PairCountPath::kAvx2 && !PairCountPathSupported(path))
    path = PairCountPath::kPortable;
  return path;
}

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

void PairCounts::Reset(int max_dimension, int grid_points) {
  max_dimension_ = max_dimension;
  grid_points_ = grid_points;
  counts_.assign(static_cast<std::size_t>(max_dimension) * grid_points, 0);
}

struct PairCountWorkspace::State {
  PairCountPath requested = PairCountPath::kAuto;
  PairCountPath path = PairCountPath::kPortable;  // of the counters
  int threads = 1;
  std::vector<double> thresholds;
  // The bucket tables of the groups of `tabled`, the last distinct thresholds.
  std::vector<double> tabled;
  std::vector<DistanceRanks> groups;
  std::vector<std::unique_ptr<LagCounter>> counters;
  std::vector<std::uint64_t> close;  // row j - 1, column rank within the group
  PairCounts result;
};

PairCountWorkspace::PairCountWorkspace(PairCountPath path, int threads)
    : state_(std::make_unique<State>()) {
  state_->requested = path;
  state_->threads = threads;
}

PairCountWorkspace::PairCountWorkspace(PairCountWorkspace&&) noexcept = default;
PairCountWorkspace& PairCountWorkspace::operator=(PairCountWorkspace&&) noexcept = default;
PairCountWorkspace::~PairCountWorkspace() = default;

PairCountPath PairCountWorkspace::path(std::size_t n, Dimensions which) const {
  return ResolvePairCountPath(state_->requested, n, which);
}

const PairCounts& PairCountWorkspace::Count(std::span<const double> series,
                                            std::span<const double> grid, int max_dimension,
                                            Dimensions which) {
  assert(max_dimension >= 1 && max_dimension <= kMaxDimension);
  State& s = *state_;
  const int m = max_dimension;
  const int grid_points = static_cast<int>(grid.size());
  s.result.Reset(m, grid_points);
  const int n = static_cast<int>(series.size());
  if (n < 2) return s.result;

  // The distinct usable thresholds in ascending order; -0 is 0 to a
  // comparison and becomes +0 so that bit patterns order like values.
  s.thresholds.clear();
  for (double eps : grid)
    if (eps >= 0) s.thresholds.push_back(eps == 0 ? 0.0 : eps);
  std::sort(s.thresholds.begin(), s.thresholds.end());
  s.thresholds.erase(std::unique(s.thresholds.begin(), s.thresholds.end()), s.thresholds.end());
  if (s.thresholds != s.tabled) {
    s.tabled = s.thresholds;
    s.groups.clear();
    for (std::size_t first = 0; first < s.tabled.size(); first += kMaxRankGroup) {
      const std::size_t size = std::min<std::size_t>(kMaxRankGroup, s.tabled.size() - first);
      s.groups.emplace_back(std::span<const double>(s.tabled.data() + first, size));
    }
  }

  const PairCountPath path = ResolvePairCountPath(s.requested, series.size(), which);
  if (path != s.path) {
    s.counters.clear();
    s.path = path;
  }
  const std::size_t workers = static_cast<std::size_t>(ThreadCount(s.threads, n));
  while (s.counters.size() < workers) s.counters.push_back(MakeCounter(s.path));
  const std::span<const std::unique_ptr<LagCounter>> counters(s.counters.data(), workers);

  for (const DistanceRanks& ranks : s.groups) {
    const std::span<const double> group = ranks.thresholds();
    const int group_size = static_cast<int>(group.size());
    s.close.assign(static_cast<std::size_t>(m) * group.size(), 0);
    const LagJob job{series, &ranks, group_size, m, which};
    for (const auto& counter : counters) counter->Start(job);
    CountAllLags(n, counters);
    for (const auto& counter : counters) counter->AddClosePairs(s.close);

    for (int k = 0; k < grid_points; ++k) {
      if (!(grid[k] >= 0)) continue;
      const double eps = grid[k] == 0 ? 0.0 : grid[k];
      const auto it = std::lower_bound(group.begin(), group.end(), eps);
      if (it == group.end() || *it != eps) continue;
      const std::size_t g = static_cast<std::size_t>(it - group.begin());
      for (int j = job.first(); j <= m; ++j)
        s.result.At(j, k) = s.close[static_cast<std::size_t>(j - 1) * group.size() + g];
    }
  }
  return s.result;
}

PairCounts CountClosePairs(std::span<const double> series, std::span<const double> grid,
                           int max_dimension, Dimensions which, int threads, PairCountPath path) {
  PairCountWorkspace workspace(path, threads);
  return workspace.Count(series, grid, max_dimension, which);
}

double CorrelationIntegralFromCount(std::uint64_t close_pairs, int n, int dimension) {
  const double histories = n - dimension + 1;
  return 2.0 * static_cast<double>(close_pairs) / (histories * (histories - 1));
}

}  // namespace ixo

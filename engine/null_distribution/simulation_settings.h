// How a null distribution is drawn: how many replications from which seed on
// how many threads, with progress reports and a stop request on the calling
// thread. The Ixo test's own settings are in ixo_settings.h.
#pragma once

#include <cstdint>

#include "ixo_settings.h"
#include "pair_counts.h"
#include "replication_pool.h"

namespace ixo {

// The seed used when none is given, so that two runs agree.
inline constexpr std::uint64_t kDefaultSeed = 20040105;

struct Simulation {
  int replications = 999;  // R >= 0
  std::uint64_t seed = kDefaultSeed;
  int threads = 0;  // 0: one per core; the results do not depend on it
  ProgressCallback progress = {};
  // Asked on the calling thread before each replication it starts (never on
  // another thread); once it answers true no replication is started and the
  // call fails with kInterrupted. Empty: never stop.
  StopRequest stop = {};
  // The instructions of every pair count; the results do not depend on it.
  PairCountPath pair_count_path = PairCountPath::kAuto;
  // The tail count h of the permutation tests' sequential rule
  // (sequential_p_value.h); 0 draws all R replications.
  int sequential = 0;
};

}  // namespace ixo

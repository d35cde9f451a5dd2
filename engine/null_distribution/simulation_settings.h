// How a null distribution is drawn: how many replications from which seed on
// how many threads, with progress reports and a stop request on the calling
// thread. The Ixo test's own settings are in ixo_settings.h.
#pragma once

#include <cstdint>
#include <string>

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
  // Only replications begin .. end - 1 of the R are drawn (end < 0: up to R),
  // for a part of a run whose other ranges run elsewhere (part_file.h): the
  // results that need all R (p-values, percentiles) are then left out, and
  // what the range contributes (tail counts, simulated values) is given.
  int begin = 0;
  int end = -1;
  // The tail count h of the permutation tests' sequential rule
  // (sequential_p_value.h); 0 draws all R replications.
  int sequential = 0;
};

// The end of the simulation's range: end, or R when end < 0.
inline int RangeEnd(const Simulation& s) {
  return s.end < 0 ? s.replications : s.end;
}

// True when the simulation draws all of its R replications.
inline bool WholeRange(const Simulation& s) {
  return s.begin == 0 && RangeEnd(s) == s.replications;
}

// Empty when 0 <= begin <= end <= R and a range of the replications is not
// asked for under the sequential rule (which needs every one before its stop);
// else the reason.
inline std::string CheckRange(const Simulation& s) {
  if (s.sequential > 0 && !WholeRange(s))
    return "the sequential rule needs all the replications, not a range of them";
  if (s.begin < 0 || s.begin > RangeEnd(s) || RangeEnd(s) > s.replications)
    return "the replications " + std::to_string(s.begin) + ".." + std::to_string(RangeEnd(s) - 1) +
           " do not lie in 0.." + std::to_string(s.replications - 1);
  return {};
}

}  // namespace ixo

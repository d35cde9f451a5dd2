// The replications of a simulation shared among a fixed set of threads: the
// threads are started once per call, each takes the next replication index
// from a shared counter, and each has a worker number of its own so that it
// can keep its workspace (O(n) memory) from one replication to the next.
#pragma once

#include <functional>

#include "result.h"

namespace ixo {

// The error of a simulation whose stop request answered true.
inline constexpr const char* kInterrupted = "interrupted";

// Called on the calling thread with the number of replications done so far
// and their total, after each replication that thread finishes and once more
// at the end (done == total on success).
using ProgressCallback = std::function<void(int done, int total)>;

// Asked on the calling thread before each replication that thread starts;
// true asks that no further replication be started.
using StopRequest = std::function<bool()>;

// Runs body(worker, replication) for replication = 0 .. count - 1, every index
// once, on `threads` threads (0: one per core; never more than count), the
// calling thread being worker 0; workers are numbered 0 .. threads - 1. A thread
// that cannot be started leaves its share to the others. Returns the number of
// workers used. Fails with kOutOfMemory when a body ran out of memory
// (std::bad_alloc, caught in its thread), and with kInterrupted when `stop`
// answered true; the remaining replications are then left undone and the
// replications under way are finished first. `stop` is called on the calling
// thread only. `body` must be safe to call from several threads at once for
// distinct workers; it writes its result to a slot of its replication.
[[nodiscard]] Result<int> RunReplications(
    int count, int threads, const std::function<void(int worker, int replication)>& body,
    const ProgressCallback& progress = {}, const StopRequest& stop = {});

// The workers RunReplications will start for `count` replications and
// `threads` requested, so that callers can prepare one workspace per worker.
int WorkerCount(int count, int threads);

}  // namespace ixo

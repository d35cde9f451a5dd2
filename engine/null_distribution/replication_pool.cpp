#include "replication_pool.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace ixo {

int WorkerCount(int count, int threads) {
  if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(std::min(threads, count), 1, 256);
}

Result<int> RunReplications(int count, int threads,
                            const std::function<void(int worker, int replication)>& body,
                            const ProgressCallback& progress, const StopRequest& stop) {
  const int workers = WorkerCount(count, threads);
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  std::atomic<bool> failed{false};
  std::atomic<bool> stopped{false};
  // Worker 0 is the calling thread: it alone reports progress and asks `stop`.
  auto work = [&](int worker, bool calling) {
    for (;;) {
      if (calling && stop && stop()) stopped = true;
      if (failed.load() || stopped.load()) return;
      const int r = next.fetch_add(1);
      if (r >= count) return;
      try {
        body(worker, r);
      } catch (const std::bad_alloc&) {
        failed = true;
        return;
      }
      const int finished = done.fetch_add(1) + 1;
      if (calling && progress) progress(finished, count);
    }
  };
  std::vector<std::thread> helpers;
  for (int w = 1; w < workers; ++w) {
    try {
      helpers.emplace_back(work, w, false);
    } catch (const std::system_error&) {
      break;
    }
  }
  work(0, true);
  for (std::thread& helper : helpers) helper.join();
  if (failed) return Failure<int>(kOutOfMemory);
  if (stopped) return Failure<int>(kInterrupted);
  if (progress) progress(count, count);
  return {static_cast<int>(helpers.size()) + 1, {}};
}

}  // namespace ixo

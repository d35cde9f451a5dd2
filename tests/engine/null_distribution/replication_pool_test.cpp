#include "replication_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace ixo {
namespace {

TEST(RunReplications, EveryIndexOnceOnAnyThreadCount) {
  for (int threads : {1, 2, 5}) {
    std::vector<std::atomic<int>> runs(37);
    const Result<int> run = RunReplications(37, threads, [&](int, int r) { runs[r].fetch_add(1); });
    ASSERT_TRUE(run.ok()) << threads << ": " << run.error;
    EXPECT_GE(*run.value, 1) << threads;
    for (int r = 0; r < 37; ++r) EXPECT_EQ(runs[r].load(), 1) << threads << " r=" << r;
  }
}

TEST(RunReplications, StopIsAskedOnTheCallingThreadOnlyAndEndsTheRun) {
  // The stop request answers true on its `stop_at`-th question. The other
  // workers wait in their first replication until then, so that the calling
  // thread is still asking when the answer comes; each finishes the one it
  // holds and starts no other.
  const struct { int threads, stop_at; } cases[] = {{1, 1}, {1, 4}, {2, 3}, {4, 2}, {4, 1}};
  for (const auto& c : cases) {
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> done{0};
    std::atomic<bool> released{false};
    int asked = 0;
    bool elsewhere = false;
    const Result<int> run = RunReplications(
        1000, c.threads,
        [&](int worker, int) {
          while (worker != 0 && !released.load()) std::this_thread::yield();
          done.fetch_add(1);
        },
        {},
        [&] {
          elsewhere = elsewhere || std::this_thread::get_id() != caller;
          const bool stop = ++asked >= c.stop_at;
          if (stop) released = true;
          return stop;
        });
    const std::string what =
        "threads " + std::to_string(c.threads) + " stop at " + std::to_string(c.stop_at);
    EXPECT_EQ(run.error, kInterrupted) << what;
    EXPECT_FALSE(elsewhere) << what;
    EXPECT_EQ(asked, c.stop_at) << what;
    EXPECT_LE(done.load(), c.stop_at - 1 + c.threads - 1) << what;
  }
}

TEST(RunReplications, OutOfMemoryInABodyIsAValue) {
  for (int threads : {1, 3}) {
    const Result<int> run = RunReplications(50, threads, [](int, int r) {
      if (r == 7) throw std::bad_alloc();
    });
    EXPECT_EQ(run.error, kOutOfMemory) << threads;
  }
}

}  // namespace
}  // namespace ixo

// Every allocation of the library's calls made to fail in turn: each call then
// returns "out of memory" or its full result, and never throws. The program
// replaces the global operator new, so it runs apart from the other tests.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "correlation_curves.h"
#include "critical_simulation.h"
#include "ixo_test.h"
#include "normal_series.h"
#include "permutation_tests.h"

namespace {

// Allocations left before the one that fails; -1: none fails.
std::atomic<long> g_allocations_left{-1};

}  // namespace

// The sanitizers keep their own operator new; there the test is skipped.
#ifndef IXO_UNDER_SANITIZER
void* operator new(std::size_t size) {
  if (g_allocations_left.load() >= 0 && g_allocations_left.fetch_sub(1) == 0)
    throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
#endif

namespace ixo {
namespace {

// Runs `call` with its k-th allocation failing, for k = 0, 1, ... until a run
// fails none; every run must give kOutOfMemory or the result `same` accepts.
template <typename T, typename Call, typename Same>
void FailEachAllocation(const char* name, const Call& call, const Same& same) {
  const Result<T> whole = call();
  ASSERT_TRUE(whole.ok()) << name << ": " << whole.error;
  int failures = 0;
  for (long k = 0;; ++k) {
    g_allocations_left = k;
    Result<T> result = Failure<T>("threw");
    try {
      result = call();
    } catch (...) {
    }
    const bool failed_one = g_allocations_left.load() < 0;
    g_allocations_left = -1;
    if (result.ok()) {
      EXPECT_TRUE(same(*result.value, *whole.value)) << name << ": allocation " << k;
    } else {
      EXPECT_EQ(result.error, kOutOfMemory) << name << ": allocation " << k;
      ++failures;
    }
    if (!failed_one) break;
    ASSERT_LT(k, 100000) << name;
  }
  EXPECT_GT(failures, 0) << name;
}

#ifdef IXO_UNDER_SANITIZER
#define IXO_SKIP_UNDER_SANITIZER() GTEST_SKIP() << "the sanitizers keep their own operator new"
#else
#define IXO_SKIP_UNDER_SANITIZER()
#endif

TEST(OutOfMemory, EveryCallReturnsAValue) {
  IXO_SKIP_UNDER_SANITIZER();
  const std::vector<double> x = Normal(40, 11);
  IxoSettings settings;
  settings.max_dimension = 3;
  settings.subint = 8;
  Simulation simulation;
  simulation.replications = 4;
  simulation.threads = 1;
  const double eps[] = {0.5, 1.5};

  FailEachAllocation<IxoPermutationTest>(
      "PermutationTestIxo", [&] { return PermutationTestIxo(x, settings, simulation); },
      [](const IxoPermutationTest& a, const IxoPermutationTest& b) {
        return a.p_values == b.p_values && a.observed.size() == b.observed.size();
      });
  FailEachAllocation<BdsPermutationTest>(
      "PermutationTestBds", [&] { return PermutationTestBds(x, 3, eps, simulation); },
      [](const BdsPermutationTest& a, const BdsPermutationTest& b) {
        return a.values.size() == b.values.size() &&
               a.values.back().p_permutation == b.values.back().p_permutation;
      });
  FailEachAllocation<SimulatedCriticalValues>(
      "SimulateCriticalValues", [&] { return SimulateCriticalValues(30, settings, simulation); },
      [](const SimulatedCriticalValues& a, const SimulatedCriticalValues& b) {
        return a.rows.size() == b.rows.size() && a.rows[0].values == b.rows[0].values;
      });
  FailEachAllocation<IxoTestReport>(
      "IxoTest", [&] { return IxoTest(x, settings, simulation); },
      [](const IxoTestReport& a, const IxoTestReport& b) {
        return a.rows.size() == b.rows.size() && a.rows[1].verdict == b.rows[1].verdict;
      });
  FailEachAllocation<std::vector<CorrelationCurve>>(
      "SeriesCurves", [&] { return SeriesCurves(x, settings); },
      [](const std::vector<CorrelationCurve>& a, const std::vector<CorrelationCurve>& b) {
        return a.size() == b.size() && a[0].slope == b[0].slope;
      });
}

}  // namespace
}  // namespace ixo

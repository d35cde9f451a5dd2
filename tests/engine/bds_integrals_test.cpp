#include "bds_integrals.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "correlation_integrals.h"

namespace ixo {
namespace {

TEST(BdsIntegrals, EqualTheKernelsBitForBit) {
  // Lattice series (ties, and differences equal to eps), continuous ones, and
  // eps from below the smallest difference to beyond the spread.
  std::mt19937_64 draws(424242);
  int compared = 0;
  for (int round = 0; round < 48; ++round) {
    const int n = round < 4 ? 2 + round : 6 + static_cast<int>(draws() % 400);
    const int m = 1 + static_cast<int>(draws() % 16) % (n - 1);
    const double step = round % 3 == 0 ? 0.25 : (round % 3 == 1 ? 0.1 : 0);
    std::vector<double> x(n);
    for (double& v : x) {
      v = step > 0 ? step * static_cast<double>(draws() % 9) - 0.5
                   : static_cast<double>(draws() >> 11) * 0x1.0p-53 * 3;
    }
    for (double eps : {1e-9, 0.1, 0.25, 0.3, 0.75, 5.0}) {
      const KernelResult kernel = correlation_integrals(x, m, eps);
      const KernelResult counted = BdsIntegrals(x, m, eps);
      const std::string what =
          "n=" + std::to_string(n) + " m=" + std::to_string(m) + " eps=" + std::to_string(eps);
      ASSERT_EQ(kernel.K, counted.K) << what;
      ASSERT_EQ(kernel.c, counted.c) << what;
      for (int j = 1; j <= 16; ++j) ASSERT_EQ(kernel.integrals[j], counted.integrals[j]) << what;
      ++compared;
    }
  }
  release_tables();
  EXPECT_EQ(compared, 48 * 6);
}

}  // namespace
}  // namespace ixo

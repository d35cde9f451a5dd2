#include "analysis/size_class_choice.h"

#include <gtest/gtest.h>

#include "tables/critical_values.h"

namespace ixo {
namespace {

TEST(PreselectedSizeClass, NearestClassWithinTwentyPercentElsePermutation) {
  const struct {
    int n, preselected;
  } cases[] = {
      {1, kPermutationClass},
      {200, kPermutationClass},
      {399, kPermutationClass},
      {400, 0},
      {500, 0},
      {600, 0},
      {601, kPermutationClass},
      {799, kPermutationClass},
      {800, 1},
      {1000, 1},
      {1200, 1},
      {1201, kPermutationClass},
      {1999, kPermutationClass},
      {2000, 2},
      {2500, 2},
      {3000, 2},
      {3001, kPermutationClass},
      {10000, kPermutationClass},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PreselectedSizeClass(c.n), c.preselected) << "n = " << c.n;
    // A preselected class never draws the hint that it does not fit.
    EXPECT_TRUE(SizeClassHint(c.n, PreselectedSizeClass(c.n)).empty()) << "n = " << c.n;
  }
}

}  // namespace
}  // namespace ixo

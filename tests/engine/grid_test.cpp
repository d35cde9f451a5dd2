#include "grid.h"

#include <gtest/gtest.h>

namespace ixo {
namespace {

TEST(DistanceGrid, RunsGeometricallyFromLowToHigh) {
  const DistanceGrid grid(0.5, 2.0, 2.0, 4);  // 1.0 .. 4.0 in 5 points
  EXPECT_EQ(grid.size(), 5);
  EXPECT_NEAR(grid.Point(0), 1.0, 1e-14);
  EXPECT_NEAR(grid.Point(2), 2.0, 1e-14);
  EXPECT_NEAR(grid.Point(4), 4.0, 1e-14);
  EXPECT_NEAR(grid.Point(1) / grid.Point(0), grid.Point(4) / grid.Point(3), 1e-14);
}

TEST(DistanceGrid, DownwardWhenHighIsBelowLow) {
  const DistanceGrid up(0.6, 1.9, 1.3, 40);
  const DistanceGrid down(1.9, 0.6, 1.3, 40);
  EXPECT_NEAR(down.Point(0), up.Point(40), 1e-14);
  EXPECT_NEAR(down.Point(40), up.Point(0), 1e-14);
  EXPECT_GT(down.Point(0), down.Point(1));
}

TEST(DistanceGrid, FlatWhenLowEqualsHigh) {
  const DistanceGrid grid(0.7, 0.7, 1.1, 3);
  EXPECT_EQ(grid.Point(0), grid.Point(3));
}

}  // namespace
}  // namespace ixo

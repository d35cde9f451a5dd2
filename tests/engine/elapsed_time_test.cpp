#include "elapsed_time.h"

#include <gtest/gtest.h>

namespace ixo {
namespace {

TEST(ElapsedSeconds, WithinOneHour) {
  EXPECT_EQ(ElapsedSeconds({12, 5}, {12, 5}), 0);
  EXPECT_EQ(ElapsedSeconds({12, 5}, {14, 7}), 122);
  EXPECT_EQ(ElapsedSeconds({0, 0}, {59, 59}), 3599);
}

TEST(ElapsedSeconds, WrapsAtTheHour) {
  EXPECT_EQ(ElapsedSeconds({59, 50}, {0, 10}), 20);
  EXPECT_EQ(ElapsedSeconds({30, 0}, {29, 59}), 3599);  // nearly an hour
  EXPECT_EQ(ElapsedSeconds({30, 0}, {30, 0}), 0);      // or exactly one: modulo one hour
}

TEST(ReadClock, FieldsInRange) {
  const ClockReading now = ReadClock();
  EXPECT_GE(now.minute, 0);
  EXPECT_LE(now.minute, 59);
  EXPECT_GE(now.second, 0);
  EXPECT_LE(now.second, 60);
}

}  // namespace
}  // namespace ixo

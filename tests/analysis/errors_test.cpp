#include "analysis/errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace ixo {
namespace {

// The trap message of a checked result, or "" when it holds a number.
std::string TrapText(const Checked& result) {
  return result.ok() ? "" : result.error;
}

TEST(Errors, CheckedDivideGivesWhatThePlatformTraps) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double a, b;
    const char* text;
  } cases[] = {
      {0, 0, kInvalidOperation},
      {1, 0, kDivisionByZero},
      {-1, 0, kDivisionByZero},
      {1e-300, 0, kDivisionByZero},
      {nan, 1, kInvalidOperation},
      {1, nan, kInvalidOperation},
      {DBL_MAX, 0.5, kOverflow},
      {inf, 1, kOverflow},
      {inf, inf, kInvalidOperation},
      {1, 4, ""},
      {0, 3, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TrapText(CheckedDivide(c.a, c.b)), c.text) << c.a << " / " << c.b;
  }
  EXPECT_EQ(CheckedDivide(1, 4).value, 0.25);
  // The first trap of a chain is the one reported.
  EXPECT_EQ(TrapText(CheckedDivide(CheckedSqrt(-1), 0)), kInvalidOperation);
  EXPECT_EQ(TrapText(CheckedDivide(1, CheckedFinite(inf))), kOverflow);
}

TEST(Errors, CheckedSqrtAndFinite) {
  EXPECT_EQ(CheckedSqrt(2.25).value, 1.5);
  EXPECT_EQ(CheckedSqrt(0).value, 0);
  EXPECT_EQ(TrapText(CheckedSqrt(-1e-300)), kInvalidOperation);
  EXPECT_EQ(TrapText(CheckedSqrt(std::nan(""))), kInvalidOperation);
  EXPECT_EQ(TrapText(CheckedFinite(HUGE_VAL)), kOverflow);
  EXPECT_EQ(TrapText(CheckedFinite(-HUGE_VAL)), kOverflow);
  EXPECT_EQ(CheckedFinite(-DBL_MAX).value, -DBL_MAX);
}

TEST(Errors, IoErrorText) {
  EXPECT_EQ(IoErrorText(ENOENT), "File not found");
  EXPECT_EQ(IoErrorText(EACCES), "File access denied");
  EXPECT_EQ(IoErrorText(EIO), "I/O error " + std::to_string(EIO));
}

}  // namespace
}  // namespace ixo

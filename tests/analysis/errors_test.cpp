#include "analysis/errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace ixo {
namespace {

// The message a call raises, or "" when it returns normally.
std::string RaisedText(const std::function<void()>& call) {
  try {
    call();
  } catch (const HandlerError& error) {
    return error.what();
  }
  return "";
}

TEST(Errors, CheckedDivideRaisesWhatThePlatformTraps) {
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
    EXPECT_EQ(RaisedText([&] { CheckedDivide(c.a, c.b); }), c.text) << c.a << " / " << c.b;
  }
  EXPECT_EQ(CheckedDivide(1, 4), 0.25);
}

TEST(Errors, CheckedSqrtAndFinite) {
  EXPECT_EQ(CheckedSqrt(2.25), 1.5);
  EXPECT_EQ(CheckedSqrt(0), 0);
  EXPECT_EQ(RaisedText([] { CheckedSqrt(-1e-300); }), kInvalidOperation);
  EXPECT_EQ(RaisedText([] { CheckedSqrt(std::nan("")); }), kInvalidOperation);
  EXPECT_EQ(RaisedText([] { CheckedFinite(HUGE_VAL); }), kOverflow);
  EXPECT_EQ(RaisedText([] { CheckedFinite(-HUGE_VAL); }), kOverflow);
  EXPECT_EQ(CheckedFinite(-DBL_MAX), -DBL_MAX);
}

TEST(Errors, IoErrorText) {
  EXPECT_EQ(IoErrorText(ENOENT), "File not found");
  EXPECT_EQ(IoErrorText(EACCES), "File access denied");
  EXPECT_EQ(IoErrorText(EIO), "I/O error " + std::to_string(EIO));
}

}  // namespace
}  // namespace ixo

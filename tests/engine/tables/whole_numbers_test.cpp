#include "tables/whole_numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

namespace ixo {
namespace {

TEST(WholeDouble, TheWholeTextOrNothing) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"0.6", 0.6},           {"1e-3", 1e-3},
      {"-2", -2.0},           {"1.7976931348623157e308", 1.7976931348623157e308},
      {"", std::nullopt},     {"+1", std::nullopt},
      {" 1", std::nullopt},   {"1 ", std::nullopt},
      {"1,5", std::nullopt},  {"inf", std::nullopt},
      {"nan", std::nullopt},  {"1e400", std::nullopt},
      {"0x10", std::nullopt}, {"1e", std::nullopt},
      {".", std::nullopt},    {"-", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeDouble(c.text), c.value) << "'" << c.text << "'";
}

TEST(WholeDouble, IgnoresTheProcessLocale) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"})
    switched = switched || std::setlocale(LC_ALL, name) != nullptr;
  EXPECT_EQ(WholeDouble("0.6"), 0.6) << std::setlocale(LC_ALL, nullptr);
  EXPECT_EQ(WholeDouble("0,6"), std::nullopt) << std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, before.c_str());
  if (!switched) GTEST_SKIP() << "no other locale installed";
}

TEST(WholeInteger, DigitsWithinTheRange) {
  const struct {
    const char* text;
    long long low, high;
    std::optional<long long> value;
  } cases[] = {
      {"5", 0, 10, 5},
      {"-5", -10, 10, -5},
      {"0", 0, 0, 0},
      {"11", 0, 10, std::nullopt},
      {"-1", 0, 10, std::nullopt},
      {"+5", 0, 10, std::nullopt},
      {"5.0", 0, 10, std::nullopt},
      {"", 0, 10, std::nullopt},
      {"5x", 0, 10, std::nullopt},
      {"9223372036854775807", 0, 9223372036854775807LL, 9223372036854775807LL},
      {"9223372036854775808", 0, 9223372036854775807LL, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WholeInteger(c.text, c.low, c.high), c.value)
        << "'" << c.text << "' in " << c.low << ".." << c.high;
  }
}

TEST(WholeUnsigned, SixtyFourBits) {
  const struct {
    const char* text;
    std::optional<std::uint64_t> value;
  } cases[] = {{"0", 0},
               {"18446744073709551615", 18446744073709551615ULL},
               {"18446744073709551616", std::nullopt},
               {"-1", std::nullopt},
               {"+1", std::nullopt},
               {"", std::nullopt},
               {"1 ", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(WholeUnsigned(c.text), c.value) << "'" << c.text << "'";
}

}  // namespace
}  // namespace ixo

#include "tables/whole_numbers.h"

#include <charconv>
#include <cmath>

namespace ixo {
namespace {

template <typename T>
std::optional<T> Whole(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> WholeDouble(std::string_view text) {
  const std::optional<double> value = Whole<double>(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

std::optional<long long> WholeInteger(std::string_view text, long long low, long long high) {
  const std::optional<long long> value = Whole<long long>(text);
  if (!value || *value < low || *value > high) return std::nullopt;
  return value;
}

std::optional<std::uint64_t> WholeUnsigned(std::string_view text) {
  return Whole<std::uint64_t>(text);
}

}  // namespace ixo

// The one shape of an expected failure in Ixo's libraries: a value, or the
// message that says why there is none. A library never throws such a failure
// across its headers and never ends the process; the program or binding at
// the edge turns the message into its own form (a line on standard error, a
// message box, an exception of its language). An operation that yields no
// value (a check, a write) returns its reason as a std::string instead, empty
// on success.
#pragma once

#include <new>
#include <optional>
#include <string>
#include <utility>

namespace ixo {

// The message of a failure for want of memory.
inline constexpr const char* kOutOfMemory = "out of memory";

// Holds `value` on success (error empty), or no value and a one-line `error`.
template <typename T>
struct [[nodiscard]] Result {
  std::optional<T> value;
  std::string error;

  bool ok() const { return value.has_value(); }
};

// A failed Result<T> with `message`.
template <typename T>
Result<T> Failure(std::string message) {
  return {std::nullopt, std::move(message)};
}

// compute() (returning Result<T>), or the failure kOutOfMemory when it throws
// std::bad_alloc: how a library function keeps its promise of a value when
// memory runs out.
template <typename T, typename Compute>
Result<T> OutOfMemoryAsFailure(const Compute& compute) {
  try {
    return compute();
  } catch (const std::bad_alloc&) {
    return Failure<T>(kOutOfMemory);
  }
}

}  // namespace ixo

// The failures that stop a front-end step, as values. A message is the text
// the user sees in the "Ixo program" box; the window adds the closing full stop
// when it lacks one. Arithmetic that would give an infinity or a NaN yields one
// of the trap messages instead, so no silent inf or nan ever reaches a label.
#pragma once

#include <string>

namespace ixo {

inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kOverflow = "Floating point overflow";

// A number from checked arithmetic, or the trap message that stopped its
// computation. A plain double converts to a Checked without error, and the
// Checked functions below pass on the first error among their arguments (in
// argument order), so a chain of them reports the first trap it met.
struct Checked {
  Checked(double v) : value(v) {}  // NOLINT: a plain number is a checked one
  static Checked Failed(const char* message) {
    Checked failed(0);
    failed.error = message;
    return failed;
  }
  bool ok() const { return error == nullptr; }

  double value = 0;
  const char* error = nullptr;  // kInvalidOperation, kDivisionByZero or kOverflow
};

// a / b with the floating-point traps the user's messages name: 0/0 (or any
// NaN) gives kInvalidOperation, x/0 kDivisionByZero, an infinite quotient kOverflow.
[[nodiscard]] Checked CheckedDivide(Checked a, Checked b);

// `v` itself when finite; NaN gives kInvalidOperation, an infinity kOverflow.
[[nodiscard]] Checked CheckedFinite(Checked v);

// sqrt(v); a negative or NaN `v` gives kInvalidOperation.
[[nodiscard]] Checked CheckedSqrt(Checked v);

// The user's text for a failed file operation with C `errno` value
// `error_number`: "File not found", "File access denied", otherwise
// "I/O error <error_number>".
std::string IoErrorText(int error_number);

}  // namespace ixo

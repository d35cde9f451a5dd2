// Errors that stop a front-end handler. The message is the text the user sees in
// the "Ixo program" box; the window adds the closing full stop when it lacks one.
// Arithmetic that would give an infinity or a NaN raises one of these instead,
// so no silent inf or nan ever reaches a label.
#pragma once

#include <stdexcept>
#include <string>

namespace ixo {

class HandlerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kInvalidOperation = "Invalid floating point operation";
inline constexpr const char* kDivisionByZero = "Floating point division by zero";
inline constexpr const char* kOverflow = "Floating point overflow";

// a / b with the floating-point traps the user's messages name: 0/0 (or any
// NaN) raises kInvalidOperation, x/0 raises kDivisionByZero, an infinite
// quotient kOverflow.
double CheckedDivide(double a, double b);

// `v` itself when finite; NaN raises kInvalidOperation, an infinity kOverflow.
double CheckedFinite(double v);

// sqrt(v); a negative or NaN `v` raises kInvalidOperation.
double CheckedSqrt(double v);

// The user's text for a failed file operation with C `errno` value
// `error_number`: "File not found", "File access denied", otherwise
// "I/O error <error_number>".
std::string IoErrorText(int error_number);

}  // namespace ixo

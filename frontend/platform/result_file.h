// Reading the engine's result from output.tmp on each poll. The engine renames
// a complete file into place, so an open that succeeds finds the whole value.
// The reading rules: blanks, tabs and line ends are skipped; a file holding
// nothing else gives 0; otherwise the word up to the next blank or control
// character (at most 64 characters) must be a number with a point as the
// decimal separator; anything after it is ignored.
#pragma once

#include <string>
#include <string_view>

namespace ixo {

// Outcome of one attempt to read the result.
struct ResultRead {
  enum class Status {
    kNotThereYet,  // the file could not be opened (or is not a regular file)
    kValue,        // `value` holds the result
    kFailed,       // `error` says why, e.g. "Invalid numeric input"
  };
  Status status = Status::kNotThereYet;
  double value = 0.0;
  std::string error;
};

// The message of a result that is not a number.
inline constexpr std::string_view kInvalidNumericInput = "Invalid numeric input";

// Applies the reading rules to the file's text. Gives kValue or kFailed, never
// kNotThereYet. A word longer than 64 characters, or a number beyond the double
// range, is kFailed with "Invalid numeric input"; one too small for a double reads as 0.
ResultRead ParseResultText(std::string_view text);

// Opens `path` without blocking and reads it by ParseResultText. A missing,
// unopenable or non-regular file gives kNotThereYet; a read error gives kFailed
// with the system's reason. Reads only as far as the rules need.
ResultRead ReadResultFile(const std::string& path);

}  // namespace ixo

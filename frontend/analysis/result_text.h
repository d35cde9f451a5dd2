// Reading the engine's result from the text of output.tmp, which the poll
// fetches through RunHost::ReadResult. The reading rules: blanks, tabs and line ends are skipped; a
// file holding nothing else gives 0; otherwise the word up to the next blank or control character
// (at most 64 characters) must be a number with a point as the decimal separator; anything after it
// is ignored.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "analysis/run_host.h"

namespace ixo {

// Outcome of one attempt to read the result.
struct ResultRead {
  enum class Status {
    kNotThereYet,  // the file is not there yet
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
[[nodiscard]] ResultRead ParseResultText(std::string_view text);

// The poll's reading of one look at the result file (RunHost::ReadResult):
// kNotThereYet while it is not there, kFailed with the system's reason when it
// could not be read, otherwise ParseResultText of its text.
[[nodiscard]] ResultRead ReadResultText(const ResultFileText& file);

// The rules never look past this many bytes after the leading blanks, tabs and
// line ends: a word of 64 characters and the byte that ends it.
inline constexpr size_t kResultTextLength = 65;

}  // namespace ixo

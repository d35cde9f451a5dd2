// Reading the progress of an ixo_cli run from the lines it writes with
// --progress-file: "progress DONE TOTAL", one line each time the whole percent
// done changes, the last with DONE equal to TOTAL. The poll reads the file
// whole at every tick and shows the last line in the status line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ixo {

struct CliProgress {
  std::int64_t done = 0;   // permutations drawn so far
  std::int64_t total = 0;  // permutations the run draws at most (above 0)
};

// The last whole line of `text` (ended by "\n", or "\r\n") that reads
// "progress DONE TOTAL": decimal integers parted by single blanks with
// 0 <= DONE <= TOTAL and 0 < TOTAL <= 10^15. Other lines are passed over, so that a
// later ixo_cli may write more kinds; a last line without its line end may
// still be being written and is not read. None without such a line.
std::optional<CliProgress> LastProgress(std::string_view text);

// The whole percent done, rounded down: 0 to 100.
int ProgressPercent(const CliProgress& progress);

// The status line's mark of the p-value step: "[p-values 37 %]" with the
// progress known, "[p-values]" before any and "[p-values, 12 s]" once
// `seconds` (the step's time so far) reach 1 without any.
std::string PValueStepMark(const std::optional<CliProgress>& progress, int seconds);

}  // namespace ixo

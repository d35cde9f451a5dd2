// ixo_cli's machine-readable progress, asked for with --progress-file PATH:
// lines "progress DONE TOTAL" where DONE counts the replications drawn so far
// and TOTAL those the command draws, over all its series. The first line is
// "progress 0 TOTAL", a line follows each time the whole percent done changes,
// and the last is "progress TOTAL TOTAL", written once every replication is
// drawn and before the results are written. Each line is written whole and
// flushed, so a reader that takes the last line ending in "\n" never sees half
// of one. With nothing to draw (TOTAL 0) no line is written.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "arguments.h"
#include "result.h"

namespace ixo {

// The option's name, for ReadArguments.
inline constexpr const char* kProgressFileOption = "progress-file";

// Closes a progress file that was opened for it; leaves standard error open.
struct ProgressFileCloser {
  bool owned = true;
  void operator()(std::FILE* file) const {
    if (owned) std::fclose(file);
  }
};

class ProgressLines {
 public:
  // No file: every call does nothing.
  ProgressLines() = default;

  // Creates or empties `path` ("-": the stream `standard_error`, left open)
  // for a command that draws `total` replications in all, and writes the first line. The reason,
  // naming the file, when it cannot be opened. A line that cannot be written later is dropped:
  // progress is a courtesy, the results are what counts.
  [[nodiscard]] static Result<ProgressLines> Open(const std::string& path, std::int64_t total,
                                                  std::FILE* standard_error);

  // The replications drawn so far, `done` (0 to total); a line when the whole
  // percent changes or `done` reaches the total.
  void Show(std::int64_t done);

  // True when lines go to standard error (a progress bar there would mix with them).
  bool OnStandardError() const { return file_ != nullptr && !file_.get_deleter().owned; }

 private:
  std::unique_ptr<std::FILE, ProgressFileCloser> file_;
  std::int64_t total_ = 0;
  int percent_ = -1;
  bool finished_ = false;
};

// The --progress-file of `a` opened for `total` replications ("-" on
// `standard_error`), or no file when the option is not given.
[[nodiscard]] Result<ProgressLines> OpenProgressLines(const Arguments& a, std::int64_t total,
                                                      std::FILE* standard_error);

}  // namespace ixo

// Fetching the start of the engine's result file on each poll, as bytes: the
// front end's analysis reads the value from them. The engine renames a
// complete file into place, so an open that succeeds finds the whole text.
#pragma once

#include <cstddef>
#include <string>

namespace ixo {

// What one look at the file found.
struct FileStart {
  bool present = false;  // false: missing, unopenable or not a regular file
  std::string text;      // the bytes after the leading blanks, tabs and line ends
  std::string error;     // set when a read failed: the system's reason (text empty)
};

// Opens `path` without blocking (a FIFO in its place does not hang the poll),
// drops its leading blanks, tabs, carriage returns and line feeds as it reads,
// and keeps at most `max_bytes` of what follows, so a huge file costs no memory.
[[nodiscard]] FileStart ReadFileStart(const std::string& path, size_t max_bytes);

}  // namespace ixo

// File facilities of the front end: copy, delete, existence, the program's own
// directory and the current directory. Each operation that can fail returns
// the reason as text (empty optional on success), never throws.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ixo {

// Empty on success; otherwise why the operation failed (e.g. "No such file or directory").
using FileError = std::optional<std::string>;

// Copies `source` over `target`, replacing an existing target. The copy is made
// writable by its owner whatever the source's permissions were. It is written
// beside the target and renamed into place, so a failure leaves the old target
// as it was; copying a file onto itself is refused and leaves it untouched.
// Only a regular file is copied: a FIFO, device or socket is refused at once.
[[nodiscard]] FileError CopyFileReplacing(const std::string& source, const std::string& target);

// Writes `contents` to `path`, replacing an existing file, whole or not at
// all: into a temporary file beside it (mode 0644), renamed into place when
// complete. 0 on success; otherwise the C errno value of the failed step, with
// the temporary removed and `path` as it was.
[[nodiscard]] int WriteFileReplacing(const std::string& path, std::string_view contents);

// Renames `from` to `to`, replacing `to`. 0 on success, otherwise the C errno
// value; both names are then as they were.
[[nodiscard]] int RenameFile(const std::string& from, const std::string& to);

// Deletes `path`; a file that is not there (nor its folder) is no error.
[[nodiscard]] FileError DeleteFileIfExists(const std::string& path);

// True when `path` names an existing regular file.
bool FileExists(const std::string& path);

// The directory of the running program, with its trailing "/".
std::string ProgramDirectory();

// The process's current directory, with its trailing "/".
std::string CurrentDirectory();

// Makes `path` the process's current directory.
[[nodiscard]] FileError ChangeDirectory(const std::string& path);

}  // namespace ixo

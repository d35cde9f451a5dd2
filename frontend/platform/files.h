// File facilities of the front end: copy, delete, existence, the program's own
// directory and the current directory. Each operation that can fail returns
// the reason as text (empty optional on success), never throws.
#pragma once

#include <optional>
#include <string>

namespace ixo {

// Empty on success; otherwise why the operation failed (e.g. "No such file or directory").
using FileError = std::optional<std::string>;

// Copies `source` over `target`, replacing an existing target. The copy is made
// writable by its owner whatever the source's permissions were. It is written
// beside the target and renamed into place, so a failure leaves the old target
// as it was; copying a file onto itself is refused and leaves it untouched.
// Only a regular file is copied: a FIFO, device or socket is refused at once.
FileError CopyFileReplacing(const std::string& source, const std::string& target);

// Deletes `path`; a file that is not there (nor its folder) is no error.
FileError DeleteFileIfExists(const std::string& path);

// True when `path` names an existing regular file.
bool FileExists(const std::string& path);

// The directory of the running program, with its trailing "/".
std::string ProgramDirectory();

// The process's current directory, with its trailing "/".
std::string CurrentDirectory();

// Makes `path` the process's current directory.
FileError ChangeDirectory(const std::string& path);

}  // namespace ixo

// What the import of a data file needs of the file system: the whole-or-nothing
// copy and write of input.tmp, a rename and a deletion. PlatformRunHost
// implements it over frontend/platform/; tests may put stand-ins in its place.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ixo {

// Empty on success; otherwise why the operation failed (e.g. "No such file or
// directory"). The platform's file operations report the same way.
using FileError = std::optional<std::string>;

class FileHost {
 public:
  virtual ~FileHost() = default;

  // Copies `source` over `target` through a temporary file renamed into place:
  // a failure leaves the old target as it was. Only a regular file is copied,
  // and a file is not copied onto itself. The copy is writable by its owner.
  [[nodiscard]] virtual FileError CopyFile(const std::string& source,
                                           const std::string& target) = 0;
  // Writes `contents` to `path`, whole or not at all. 0 on success, otherwise
  // the C errno value of the failure (`path` then as it was).
  [[nodiscard]] virtual int WriteFile(const std::string& path, std::string_view contents) = 0;
  // Renames `from` over `to`. 0 on success, otherwise the C errno value.
  [[nodiscard]] virtual int RenameFile(const std::string& from, const std::string& to) = 0;
  // Deletes `path`; a missing file is no error.
  [[nodiscard]] virtual FileError DeleteFile(const std::string& path) = 0;
};

}  // namespace ixo

// A scratch folder for one test, removed with everything in it at the end,
// and small helpers to put files and stand-in programs into it.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace ixo::testing {

class TempDir {
 public:
  // A fresh folder in the system's temporary directory, its name starting with `prefix`.
  explicit TempDir(const std::string& prefix = "ixo_platform_") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern + "/";
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, with its trailing "/".
  const std::string& path() const { return path_; }

  // Writes `content` to path() + name and returns the full path.
  std::string Write(const std::string& name, const std::string& content, mode_t mode = 0644) const {
    const std::string file = path_ + name;
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
    ::chmod(file.c_str(), mode);
    return file;
  }

  // Writes an executable shell script running `body`.
  std::string Script(const std::string& name, const std::string& body) const {
    return Write(name, "#!/bin/sh\n" + body + "\n", 0755);
  }

 private:
  std::string path_;
};

inline std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// True when this process has no child left, ended or running: no zombie.
inline bool NoChildLeft() {
  errno = 0;
  return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

}  // namespace ixo::testing

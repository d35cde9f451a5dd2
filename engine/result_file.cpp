#include "result_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace ixo {
namespace {

std::string Failure(const std::string& what, const std::string& path, int error) {
  return "ixo_engine: cannot " + what + " '" + path + "': " + std::strerror(error);
}

}  // namespace

std::string WriteResultFile(const std::string& path, double value) {
  // A name of our own beside `path`; O_EXCL never reuses a file someone else holds.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = path + "." + std::to_string(getpid()) + "." + std::to_string(attempt) + ".part";
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return Failure("create a temporary file for", path, errno);

  char text[512];  // "%.3f" of the largest double needs 314 characters
  const int length = std::snprintf(text, sizeof text, "%.3f\n", value);
  int error = 0;
  if (length < 0 || length >= static_cast<int>(sizeof text)) {
    error = EOVERFLOW;
  } else {
    const ssize_t written = write(fd, text, length);
    if (written != length) error = written < 0 ? errno : EIO;
  }
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    return Failure("write", path, error);
  }
  return {};
}

}  // namespace ixo

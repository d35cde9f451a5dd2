#include "whole_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ixo {

std::string WriteWholeFile(const std::string& path, const std::string& text, bool durable) {
  // A name of our own beside `path`; O_EXCL never reuses a file someone else holds.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = path + "." + std::to_string(getpid()) + "." + std::to_string(attempt) + ".part";
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    return "cannot create a temporary file for '" + path + "': " + std::strerror(errno);
  }
  int error = 0;
  for (std::size_t done = 0; error == 0 && done < text.size();) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
    } else if (written < 0 && errno != EINTR) {
      error = errno;
    } else if (written == 0) {
      error = EIO;
    }
  }
  if (durable && error == 0 && fsync(fd) != 0 && errno != EINVAL) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    return "cannot write '" + path + "': " + std::strerror(error);
  }
  return {};
}

}  // namespace ixo

#include "platform/result_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace ixo {

namespace {

bool IsLeadingBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

FileStart ReadFileStart(const std::string& path, size_t max_bytes) {
  FileStart start;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return start;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return start;
  }
  start.present = true;
  char buffer[4096];
  while (start.text.size() < max_bytes) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      start.error = std::strerror(errno);
      start.text.clear();
      break;
    }
    if (got == 0) break;
    size_t from = 0;
    if (start.text.empty()) {
      while (from < static_cast<size_t>(got) && IsLeadingBlank(buffer[from])) ++from;
    }
    const size_t room = max_bytes - start.text.size();
    start.text.append(buffer + from, std::min(room, static_cast<size_t>(got) - from));
  }
  ::close(fd);
  return start;
}

}  // namespace ixo

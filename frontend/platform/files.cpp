#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ixo {

namespace {

std::string ErrnoText(int error) { return std::strerror(error); }

std::string WithTrailingSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// Closes a descriptor on scope exit; the copy below has several early returns.
class FdCloser {
 public:
  explicit FdCloser(int fd) : fd_(fd) {}
  ~FdCloser() {
    if (fd_ >= 0) ::close(fd_);
  }
  FdCloser(const FdCloser&) = delete;
  FdCloser& operator=(const FdCloser&) = delete;
  // Closes now and reports the close's own failure (lost write-back on some file systems).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Writes all of `size` bytes, retrying after interrupts and short writes.
bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

}  // namespace

FileError CopyFileReplacing(const std::string& source, const std::string& target) {
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return ErrnoText(errno);
  FdCloser in_closer(in);

  struct stat source_stat {};
  if (::fstat(in, &source_stat) != 0) return ErrnoText(errno);
  if (S_ISDIR(source_stat.st_mode)) return ErrnoText(EISDIR);

  // Keep the source's permission bits but always let the owner write the copy,
  // so the next import can overwrite it even when the user's file is read-only.
  const mode_t mode = (source_stat.st_mode & 0777) | S_IRUSR | S_IWUSR;
  const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (out < 0) return ErrnoText(errno);
  FdCloser out_closer(out);
  // An existing target keeps its old mode through O_TRUNC; set it explicitly.
  if (::fchmod(out, mode) != 0) return ErrnoText(errno);

  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return ErrnoText(errno);
    }
    if (got == 0) break;
    if (!WriteAll(out, buffer.data(), static_cast<size_t>(got))) return ErrnoText(errno);
  }
  if (out_closer.Close() != 0) return ErrnoText(errno);
  return std::nullopt;
}

FileError DeleteFileIfExists(const std::string& path) {
  if (::unlink(path.c_str()) == 0 || errno == ENOENT) return std::nullopt;
  return ErrnoText(errno);
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ProgramDirectory() {
  std::vector<char> buffer(PATH_MAX + 1);
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return CurrentDirectory();  // no /proc: the best guess left
  std::string path(buffer.data(), static_cast<size_t>(length));
  // Everything after the last separator is the program's own name.
  return path.substr(0, path.rfind('/') + 1);
}

std::string CurrentDirectory() {
  std::vector<char> buffer(PATH_MAX + 1);
  if (::getcwd(buffer.data(), buffer.size()) == nullptr) return "./";
  return WithTrailingSlash(buffer.data());
}

FileError ChangeDirectory(const std::string& path) {
  if (::chdir(path.c_str()) != 0) return ErrnoText(errno);
  return std::nullopt;
}

}  // namespace ixo

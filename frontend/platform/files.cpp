#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace ixo {

namespace {

std::string ErrnoText(int error) {
  return std::strerror(error);
}

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
  // Not blocking: opening a FIFO that has no writer would wait forever.
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return ErrnoText(errno);
  FdCloser in_closer(in);

  struct stat source_stat {};
  if (::fstat(in, &source_stat) != 0) return ErrnoText(errno);
  if (S_ISDIR(source_stat.st_mode)) return ErrnoText(EISDIR);
  // Only a regular file is sure to end: a device such as /dev/zero would fill
  // the disk, a FIFO could block the copy.
  if (!S_ISREG(source_stat.st_mode)) return std::string("Not a regular file");
  // Copying a file onto itself would only put the user's own file at risk.
  struct stat target_stat {};
  if (::stat(target.c_str(), &target_stat) == 0 && target_stat.st_dev == source_stat.st_dev &&
      target_stat.st_ino == source_stat.st_ino) {
    return std::string("Source and target are the same file");
  }

  // The copy goes to a temporary file beside the target and is renamed over it
  // only when complete, so a failed copy leaves the old target as it was.
  std::string temporary = target + ".XXXXXX";
  const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (out < 0) return ErrnoText(errno);
  FdCloser out_closer(out);
  const auto fail = [&temporary](int error) -> FileError {
    ::unlink(temporary.c_str());
    return ErrnoText(error);
  };
  // Keep the source's permission bits but always let the owner write the copy,
  // so the next import can overwrite it even when the user's file is read-only.
  const mode_t mode = (source_stat.st_mode & 0777) | S_IRUSR | S_IWUSR;
  if (::fchmod(out, mode) != 0) return fail(errno);

  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t got = ::read(in, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    if (got == 0) break;
    if (!WriteAll(out, buffer.data(), static_cast<size_t>(got))) return fail(errno);
  }
  if (out_closer.Close() != 0) return fail(errno);
  if (::rename(temporary.c_str(), target.c_str()) != 0) return fail(errno);
  return std::nullopt;
}

int WriteFileReplacing(const std::string& path, std::string_view contents) {
  std::string temporary = path + ".XXXXXX";
  const int out = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (out < 0) return errno;
  FdCloser out_closer(out);
  const auto fail = [&temporary](int error) {
    ::unlink(temporary.c_str());
    return error != 0 ? error : EIO;
  };
  if (::fchmod(out, 0644) != 0) return fail(errno);
  if (!WriteAll(out, contents.data(), contents.size())) return fail(errno);
  if (out_closer.Close() != 0) return fail(errno);
  if (::rename(temporary.c_str(), path.c_str()) != 0) return fail(errno);
  return 0;
}

int RenameFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

FileError DeleteFileIfExists(const std::string& path) {
  // ENOTDIR: a path through a plain file cannot name a file either.
  if (::unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR) return std::nullopt;
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

// A file that lives in memory only, for fuzz targets whose code under test
// takes a path: the bytes of each run are written into one memfd, which is
// then reachable by the path /proc/self/fd/<n> without touching any disk.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace ixo::fuzz {

class MemoryFile {
 public:
  // Aborts when the memfd cannot be made: a fuzz run without it tests nothing.
  MemoryFile() : fd_(memfd_create("ixo_fuzz", MFD_CLOEXEC)) {
    if (fd_ < 0) std::abort();
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~MemoryFile() { close(fd_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // Replaces the whole content with `size` bytes from `data`.
  void Replace(const uint8_t* data, size_t size) {
    if (ftruncate(fd_, 0) != 0) std::abort();
    size_t done = 0;
    while (done < size) {
      const ssize_t written = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
      if (written <= 0) std::abort();
      done += static_cast<size_t>(written);
    }
  }

  // A path that opens the file afresh, with its own read position.
  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

}  // namespace ixo::fuzz

#include "analysis/data_lines.h"

#include <cerrno>
#include <cstring>

namespace ixo {
namespace {

constexpr char kCtrlZ = 0x1A;
constexpr size_t kBufferSize = 1 << 16;

}  // namespace

DataLineReader::DataLineReader(std::FILE* file) : file_(file), buffer_(kBufferSize) {}

bool DataLineReader::Refill() {
  if (error_number_ != 0) return false;
  errno = 0;
  length_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  position_ = 0;
  if (length_ == 0 && std::ferror(file_)) error_number_ = errno != 0 ? errno : EIO;
  return length_ > 0;
}

int DataLineReader::Peek() {
  if (position_ == length_ && !Refill()) return EOF;
  return static_cast<unsigned char>(buffer_[position_]);
}

bool DataLineReader::Next(std::string& line) {
  line.clear();
  if (at_file_start_) {
    // The start of the file is the start of a line: a Ctrl-Z there ends the
    // data before any text, and the one line read is empty.
    at_file_start_ = false;
    const int first = Peek();
    if (error_number_ != 0) return false;
    if (first == kCtrlZ) {
      at_end_of_data_ = true;
      return true;
    }
  }
  bool in_text = true;  // false after a Ctrl-Z: the rest of the line is skipped
  for (;;) {
    if (position_ == length_ && !Refill()) break;
    const char* begin = buffer_.data() + position_;
    const char* end = buffer_.data() + length_;
    if (in_text) {
      // Take the plain run of text up to the next byte that needs a decision.
      const char* stop = begin;
      while (stop != end && *stop != '\n' && *stop != '\r' && *stop != kCtrlZ) ++stop;
      line.append(begin, stop);
      position_ += static_cast<size_t>(stop - begin);
      if (stop == end) continue;
    } else {
      const void* feed = std::memchr(begin, '\n', static_cast<size_t>(end - begin));
      if (feed == nullptr) {
        position_ = length_;
        continue;
      }
      position_ += static_cast<size_t>(static_cast<const char*>(feed) - begin);
    }
    const char c = buffer_[position_++];
    if (c == '\n') break;
    if (c == kCtrlZ) in_text = false;
    // A carriage return is dropped; followed by a line feed, that feed ends the line.
  }
  if (error_number_ != 0) return false;
  const int next = Peek();
  if (error_number_ != 0) return false;
  at_end_of_data_ = next == EOF || next == kCtrlZ;
  return true;
}

}  // namespace ixo

// Line reading of the user's data files. A line ends at a line feed or at a
// carriage return directly followed by a line feed; a carriage return standing
// alone is dropped from the line. A Ctrl-Z (0x1A) ends the text of its line, and
// one at the start of a line (directly after a line end, or as the file's first
// byte) ends the data. Lines may be of any length.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace ixo {

class DataLineReader {
 public:
  // Reads from `file`, which must be open for binary reading and outlive the reader.
  explicit DataLineReader(std::FILE* file);

  // Reads the next line's text into `line` and consumes the rest of the line and
  // its line end. At least one line is read from any file, an empty one too; a
  // file that starts with a Ctrl-Z gives one empty line and the end of the data.
  // False on a read error; then `ErrorNumber()` gives the errno value.
  bool Next(std::string& line);

  // True once the physical end of the file, or a Ctrl-Z directly following the
  // last consumed line end (or standing first in the file), has been reached:
  // no further line is read then.
  bool AtEndOfData() const { return at_end_of_data_; }

  int ErrorNumber() const { return error_number_; }

 private:
  // The next byte without consuming it, or EOF at the end of the file (or on a
  // read error, which sets error_number_).
  int Peek();
  bool Refill();

  std::FILE* file_;
  std::vector<char> buffer_;
  size_t position_ = 0;
  size_t length_ = 0;
  bool at_file_start_ = true;
  bool at_end_of_data_ = false;
  int error_number_ = 0;
};

}  // namespace ixo

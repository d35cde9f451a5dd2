#include "result_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "whole_file.h"

namespace ixo {

std::string WriteResultFile(const std::string& path, double value) {
  char text[512];  // "%.3f" of the largest double needs 314 characters
  const int length = std::snprintf(text, sizeof text, "%.3f\n", value);
  if (length < 0 || length >= static_cast<int>(sizeof text))
    return "ixo_engine: cannot write '" + path + "': " + std::strerror(EOVERFLOW);
  // The window reads the file once the engine has ended; it need not reach
  // the disk first.
  const std::string why =
      WriteWholeFile(path, std::string(text, static_cast<std::size_t>(length)), false);
  return why.empty() ? why : "ixo_engine: " + why;
}

}  // namespace ixo

// The exchange file output.tmp: one value, "%.3f\n". The file appears whole or
// not at all: the value goes to a temporary file in the same directory, which is
// then renamed onto the final name.
#pragma once

#include <string>

namespace ixo {

// Writes `value` with "%.3f\n" to `path`. Returns an empty string on success;
// else one line naming the file and the cause, with `path` untouched and no
// temporary file left behind.
[[nodiscard]] std::string WriteResultFile(const std::string& path, double value);

}  // namespace ixo

// The --output file: written whole or not at all. The text goes to a new
// temporary file beside the target, which is renamed onto it once complete.
#pragma once

#include <string>

namespace ixo {

// Writes `text` to `path`. Empty on success; else one line naming the file and
// the cause, with `path` as it was and no temporary file left behind.
[[nodiscard]] std::string WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace ixo

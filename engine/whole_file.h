// A file written whole or not at all: the text goes to a new temporary file
// beside the target, which is renamed onto it once complete. Serves the
// engine's output.tmp and ixo_cli's --output file.
#pragma once

#include <string>

namespace ixo {

// Writes `text` to `path`; with `durable`, the data reach the disk before the
// rename. Empty on success; else one line, "cannot create a temporary file for
// '<path>': <cause>" or "cannot write '<path>': <cause>", with `path` as it was
// and no temporary file left behind.
[[nodiscard]] std::string WriteWholeFile(const std::string& path, const std::string& text,
                                         bool durable);

}  // namespace ixo

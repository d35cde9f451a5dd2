// Finding the program a child process runs: a bare program name is looked for
// first in the program directory, then along PATH.
#pragma once

#include <string>
#include <string_view>

namespace ixo {

// The path to execute for `program`. A name containing "/" is returned as it
// stands. A bare name is looked for in `program_directory` (which ends in "/")
// first, then in each directory of `search_path` (colon-separated, like PATH)
// as an executable regular file. When found nowhere the result is
// program_directory + program, so that the start fails naming that path. An
// empty `program_directory` means PATH alone, and an unfound name comes back bare.
std::string FindProgram(const std::string& program, const std::string& program_directory,
                        std::string_view search_path);

}  // namespace ixo

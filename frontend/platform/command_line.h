// Turning a command line into a program path and its arguments, the way the
// front end starts the engine: words separated by blanks, and a bare program
// name looked for first beside the running program, then along PATH.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ixo {

// Splits `command_line` into words at blanks and tabs; runs of them count as
// one separator, and leading or trailing ones give no empty word. Quotes have
// no special meaning. An empty or all-blank line gives no words.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

// The path to execute for `program`. A name containing "/" is returned as it
// stands. A bare name is looked for in `program_directory` (which ends in "/")
// first, then in each directory of `search_path` (colon-separated, like PATH)
// as an executable regular file. When found nowhere the result is
// program_directory + program, so that the start fails naming that path. An
// empty `program_directory` means PATH alone, and an unfound name comes back bare.
std::string FindProgram(const std::string& program, const std::string& program_directory,
                        std::string_view search_path);

}  // namespace ixo

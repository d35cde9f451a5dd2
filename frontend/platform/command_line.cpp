#include "platform/command_line.h"

#include <sys/stat.h>
#include <unistd.h>

namespace ixo {

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindProgram(const std::string& program, const std::string& program_directory,
                        std::string_view search_path) {
  if (program.find('/') != std::string::npos) return program;
  // With no program directory, an unfound name stays bare: it must not be
  // taken as a path relative to the current directory.
  const std::string beside = program_directory.empty() ? program : program_directory + program;
  // Anything of that name beside the program is taken, executable or not, so
  // that a broken engine there is reported rather than another one used.
  struct stat info {};
  if (!program_directory.empty() && ::stat(beside.c_str(), &info) == 0) return beside;

  size_t pos = 0;
  while (pos <= search_path.size()) {
    size_t end = search_path.find(':', pos);
    if (end == std::string_view::npos) end = search_path.size();
    // An empty PATH entry means the current directory.
    const std::string_view directory = end > pos ? search_path.substr(pos, end - pos) : ".";
    const std::string candidate = std::string(directory) + "/" + program;
    if (IsExecutableFile(candidate)) return candidate;
    pos = end + 1;
  }
  return beside;
}

}  // namespace ixo

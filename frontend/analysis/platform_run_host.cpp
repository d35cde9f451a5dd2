#include "analysis/platform_run_host.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/command_line.h"

namespace ixo {

PlatformRunHost::PlatformRunHost() : PlatformRunHost(ixo::ProgramDirectory()) {}

PlatformRunHost::PlatformRunHost(std::string program_directory)
    : program_directory_(std::move(program_directory)) {}

FileError PlatformRunHost::ChangeDirectory(const std::string& path) {
  return ixo::ChangeDirectory(path);
}

bool PlatformRunHost::FileExists(const std::string& path) {
  return ixo::FileExists(path);
}

FileError PlatformRunHost::DeleteFile(const std::string& path) {
  return DeleteFileIfExists(path);
}

FileError PlatformRunHost::StartEngine(const std::string& command_line) {
  // The engine reads input.tmp and writes output.tmp in its current directory,
  // which it inherits; something may have changed ours since the run started.
  if (FileError error = ixo::ChangeDirectory(program_directory_)) {
    return "cannot make " + program_directory_ + " the current directory: " + *error;
  }
  std::vector<std::string> words = SplitCommandLine(command_line);
  if (words.empty()) return std::string("empty command line");
  const char* search_path = std::getenv("PATH");
  std::string program =
      FindProgram(words[0], program_directory_, search_path ? search_path : "/usr/bin:/bin");
  // The command line is split at blanks again by the start, so a program
  // directory with a blank in it is named relative to the current directory,
  // which is that directory now.
  if (program.find_first_of(" \t") != std::string::npos &&
      program == program_directory_ + words[0]) {
    program = "./" + words[0];
  }
  std::string line = program;
  for (size_t i = 1; i < words.size(); ++i) line += " " + words[i];
  return engine_.Start(line);
}

EngineStatus PlatformRunHost::PollEngine() {
  const ProcessStatus process = engine_.Poll();
  EngineStatus status;
  switch (process.state) {
    case ProcessState::kRunning:
      return status;
    case ProcessState::kNotStarted:
      status.ended = true;
      return status;
    case ProcessState::kExited:
      status.how = "exit status " + std::to_string(process.exit_status);
      break;
    case ProcessState::kKilled:
      status.how = "killed by signal " + std::to_string(process.signal);
      if (const char* name = strsignal(process.signal)) status.how += std::string(", ") + name;
      break;
  }
  status.ended = true;
  status.error_text = process.error_output;
  return status;
}

void PlatformRunHost::StopEngine() {
  engine_.Stop();
}

void PlatformRunHost::DetachEngine() {
  engine_.Detach();
}

ResultRead PlatformRunHost::ReadResult(const std::string& path) {
  return ReadResultFile(path);
}

}  // namespace ixo

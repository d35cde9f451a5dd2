#include "platform/platform_run_host.h"

#include <cstring>
#include <utility>

#include "analysis/result_text.h"  // only the length its rules look at
#include "platform/files.h"
#include "platform/result_file.h"

namespace ixo {

PlatformRunHost::PlatformRunHost() : PlatformRunHost(ixo::ProgramDirectory()) {}

PlatformRunHost::PlatformRunHost(std::string program_directory)
    : program_directory_(std::move(program_directory)) {}

FileError PlatformRunHost::CopyFile(const std::string& source, const std::string& target) {
  return CopyFileReplacing(source, target);
}

int PlatformRunHost::WriteFile(const std::string& path, std::string_view contents) {
  return WriteFileReplacing(path, contents);
}

int PlatformRunHost::RenameFile(const std::string& from, const std::string& to) {
  return ixo::RenameFile(from, to);
}

FileError PlatformRunHost::DeleteFile(const std::string& path) {
  return DeleteFileIfExists(path);
}

FileError PlatformRunHost::ChangeDirectory(const std::string& path) {
  return ixo::ChangeDirectory(path);
}

bool PlatformRunHost::FileExists(const std::string& path) {
  return ixo::FileExists(path);
}

FileError PlatformRunHost::StartEngine(const std::vector<std::string>& arguments) {
  // The engine reads input.tmp and writes output.tmp in its current directory,
  // which the start gives it, whatever ours has become since the run started.
  return engine_.Start(arguments, program_directory_);
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

ResultFileText PlatformRunHost::ReadResult(const std::string& path) {
  FileStart start = ReadFileStart(path, kResultTextLength);
  return ResultFileText{start.present, std::move(start.text), std::move(start.error)};
}

ResultFileText PlatformRunHost::ReadText(const std::string& path, size_t max_bytes) {
  FileStart start = ReadFileStart(path, max_bytes);
  return ResultFileText{start.present, std::move(start.text), std::move(start.error)};
}

}  // namespace ixo

// The run controller's RunHost over the real system: the program directory
// with its exchange files, one engine child process at a time (standard error
// kept for the error message, reaped so no zombie is left) and the poll's read
// of output.tmp. The engine runs with the program directory as its current
// directory, and its bare name is looked for there first. The interface it
// implements (analysis/run_host.h) is header-only and holds plain types.
#pragma once

#include <string>
#include <vector>

#include "analysis/run_host.h"
#include "platform/process.h"

namespace ixo {

class PlatformRunHost final : public RunHost {
 public:
  // Works in the running program's own directory.
  PlatformRunHost();
  // Works in `program_directory` (ending in "/"), as if the program stood there.
  explicit PlatformRunHost(std::string program_directory);

  FileError CopyFile(const std::string& source, const std::string& target) override;
  int WriteFile(const std::string& path, std::string_view contents) override;
  int RenameFile(const std::string& from, const std::string& to) override;
  FileError DeleteFile(const std::string& path) override;

  std::string ProgramDirectory() override { return program_directory_; }
  FileError ChangeDirectory(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  FileError StartEngine(const std::vector<std::string>& arguments) override;
  EngineStatus PollEngine() override;
  void StopEngine() override;
  void DetachEngine() override;
  int EngineEndDescriptor() override { return engine_.EndDescriptor(); }
  ResultFileText ReadResult(const std::string& path) override;
  ResultFileText ReadText(const std::string& path, size_t max_bytes) override;

  // The engine's process id while it runs, otherwise -1.
  int EnginePid() const { return engine_.Pid(); }

 private:
  std::string program_directory_;
  // Destroying the handle stops an engine that still runs, unless it was detached.
  ChildProcess engine_;
};

}  // namespace ixo

// What the test-run controller needs of the operating system: the program
// directory with its exchange files, the engine process and the result file.
// PlatformRunHost implements it over frontend/platform/; tests put stand-ins
// in its place. Paths are full paths (program directory + file name).
#pragma once

#include <string>

#include "platform/files.h"
#include "platform/result_file.h"

namespace ixo {

// How the engine started last is doing.
struct EngineStatus {
  bool ended = false;      // the process has ended (false while it runs)
  std::string how;         // when ended: "exit status 1", "killed by signal 9", ...
  std::string error_text;  // when ended: what it wrote to standard error
};

class RunHost {
 public:
  virtual ~RunHost() = default;

  // The directory of the front-end program, with its trailing "/".
  virtual std::string ProgramDirectory() = 0;
  // Makes `path` the current directory; the reason on failure.
  virtual FileError ChangeDirectory(const std::string& path) = 0;
  // True when `path` names an existing file.
  virtual bool FileExists(const std::string& path) = 0;
  // Deletes `path`; a missing file is no error.
  virtual FileError DeleteFile(const std::string& path) = 0;
  // Starts `command_line` (its first word the engine's bare name, looked for
  // in the program directory first) as a hidden process in the program
  // directory, without waiting for it. The reason when it cannot be started.
  virtual FileError StartEngine(const std::string& command_line) = 0;
  // How the engine started last is doing; `ended` is false while it runs.
  // With no engine held it reports ended with an empty `how`.
  virtual EngineStatus PollEngine() = 0;
  // Ends the engine started last if it still runs and collects it, so no
  // process or zombie is left behind. Nothing happens when none is held.
  virtual void StopEngine() = 0;
  // Lets the engine started last run on by itself: it is neither stopped nor
  // collected, and the host holds no engine afterwards. For a front end that
  // ends while the engine computes; the next run deletes the output.tmp it
  // leaves. Nothing happens when none is held, which is all a host that
  // starts no real process needs to do.
  virtual void DetachEngine() {}
  // Reads the one value of the result file `path` with the poll's rules
  // (platform/result_file.h): not there yet, a value, or a failure with its message.
  virtual ResultRead ReadResult(const std::string& path) = 0;
};

}  // namespace ixo

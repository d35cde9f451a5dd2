// What the test-run controller needs of the operating system: the program
// directory with its exchange files, the engine process and the result file,
// in plain values. PlatformRunHost (frontend/platform/) implements it over the
// real system; tests put stand-ins in its place. Paths are full paths
// (program directory + file name).
#pragma once

#include <string>
#include <vector>

#include "analysis/file_host.h"

namespace ixo {

// How the engine started last is doing.
struct EngineStatus {
  bool ended = false;      // the process has ended (false while it runs)
  std::string how;         // when ended: "exit status 1", "killed by signal 9", ...
  std::string error_text;  // when ended: what it wrote to standard error
};

// One look at the result file.
struct ResultFileText {
  bool present = false;  // false: not there yet (missing, or not a regular file)
  std::string text;      // its start, past leading blanks and line ends (see result_text.h)
  std::string error;     // set when it could not be read: the system's reason
};

class RunHost : public FileHost {
 public:
  // The directory of the front-end program, with its trailing "/".
  virtual std::string ProgramDirectory() = 0;
  // Makes `path` the current directory; the reason on failure.
  [[nodiscard]] virtual FileError ChangeDirectory(const std::string& path) = 0;
  // True when `path` names an existing file.
  virtual bool FileExists(const std::string& path) = 0;
  // Starts the engine from `arguments` (its bare name first, looked for in the
  // program directory first, then its arguments, each passed as it stands) as
  // a hidden process with the program directory as its current directory,
  // without waiting for it. The reason when it cannot be started.
  [[nodiscard]] virtual FileError StartEngine(const std::vector<std::string>& arguments) = 0;
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
  // A descriptor that becomes readable once the engine started last has
  // ended, so that the window can poll at once rather than at its next tick;
  // -1 when there is none (no engine running, or no such facility). Valid
  // until the next StartEngine, StopEngine or DetachEngine.
  virtual int EngineEndDescriptor() { return -1; }
  // The start of the result file `path`: at least the first kResultTextLength
  // bytes past its leading blanks, tabs and line ends (all of them when shorter).
  virtual ResultFileText ReadResult(const std::string& path) = 0;
  // The same look at a longer exchange file (pvalues.tmp, curves.tmp): at most
  // `max_bytes` past its leading blanks, tabs and line ends; not present
  // until it is there.
  virtual ResultFileText ReadText(const std::string& path, size_t max_bytes) = 0;
};

}  // namespace ixo

// A child process started from an argument vector, hidden and not awaited:
// the front end's way of running the engine. The child inherits the
// environment, reads nothing (standard input is /dev/null),
// writes its standard output nowhere and its standard error into a pipe that
// each poll drains, so that the caller can show what it wrote. The handle reaps
// the child when a poll sees it ended, and stops and reaps it when destroyed,
// so no zombie process is ever left behind, unless it was let go by Detach.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace ixo {

// Where a started process stands.
enum class ProcessState {
  kNotStarted,  // no process was started, or its start failed
  kRunning,
  kExited,  // ended by itself; `exit_status` holds its status (0 to 255), or
            // -1 when another part of the program reaped it and the status is lost
  kKilled,  // ended by a signal; `signal` holds its number
};

// What a poll found. `error_output` holds everything the process has written to
// standard error so far (the first kMaxErrorOutput bytes of it).
struct ProcessStatus {
  ProcessState state = ProcessState::kNotStarted;
  int exit_status = 0;
  int signal = 0;
  std::string error_output;
};

// Owns one child process; movable, not copyable. Not thread-safe.
class ChildProcess {
 public:
  // Standard error beyond this many bytes is read and dropped.
  static constexpr size_t kMaxErrorOutput = 64 * 1024;

  ChildProcess() = default;
  // Stops (SIGKILL) and reaps a child that is still running.
  ~ChildProcess();
  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) noexcept;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `arguments` (program first, then its arguments, each passed as it
  // stands). A bare program name is looked for first in `program_directory`
  // (ending in "/"), then along PATH (see FindProgram); the child runs with
  // `program_directory` as its current directory, which leaves this process's
  // own unchanged. An empty `program_directory` means PATH alone and the
  // current directory inherited. Empty on success; otherwise why it could not
  // start, naming the program path, e.g. "/opt/ixo/ixo_engine: Permission
  // denied". A child still owned is stopped first.
  [[nodiscard]] std::optional<std::string> Start(const std::vector<std::string>& arguments,
                                                 const std::string& program_directory);

  // Never blocks: drains standard error and reaps the child if it has ended.
  // Once the child has ended, every further poll returns the same final status.
  ProcessStatus Poll();

  // Kills a running child with SIGKILL and reaps it; the status then reads
  // kKilled with SIGKILL, or how the child ended if it ended before the kill.
  // Does nothing when no child is running.
  void Stop();

  // Lets a running child go on by itself: the handle forgets it (and its
  // standard error) without stopping it, and then holds no child. Whoever
  // outlives this process reaps it once it ends (a child still running when
  // this process exits is adopted by init). Does nothing when no child runs.
  void Detach();

  // True from a successful Start until a poll or Stop sees the child end.
  bool Running() const { return status_.state == ProcessState::kRunning; }

  // The child's process id while it runs, otherwise -1.
  pid_t Pid() const { return Running() ? pid_ : -1; }

 private:
  void DrainErrorOutput();
  void Finish(int wait_status);
  void Release();

  pid_t pid_ = -1;
  int error_fd_ = -1;  // read end of the child's standard error
  ProcessStatus status_;
};

}  // namespace ixo

#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/command_line.h"

extern char** environ;

namespace ixo {

namespace {

// posix_spawn's attributes and file actions, destroyed on every return path.
class SpawnSetup {
 public:
  SpawnSetup() {
    ::posix_spawnattr_init(&attributes_);
    ::posix_spawn_file_actions_init(&actions_);
  }
  ~SpawnSetup() {
    ::posix_spawn_file_actions_destroy(&actions_);
    ::posix_spawnattr_destroy(&attributes_);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawnattr_t* attributes() { return &attributes_; }
  posix_spawn_file_actions_t* actions() { return &actions_; }

 private:
  posix_spawnattr_t attributes_;
  posix_spawn_file_actions_t actions_;
};

}  // namespace

ChildProcess::~ChildProcess() {
  Stop();
  Release();
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      error_fd_(std::exchange(other.error_fd_, -1)),
      status_(std::exchange(other.status_, ProcessStatus{})) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    Stop();
    Release();
    pid_ = std::exchange(other.pid_, -1);
    error_fd_ = std::exchange(other.error_fd_, -1);
    status_ = std::exchange(other.status_, ProcessStatus{});
  }
  return *this;
}

std::optional<std::string> ChildProcess::Start(const std::vector<std::string>& arguments,
                                               const std::string& program_directory) {
  Stop();
  Release();
  status_ = ProcessStatus{};

  if (arguments.empty() || arguments[0].empty()) return "No program named in an empty command line";
  const char* path_variable = std::getenv("PATH");
  const std::string program =
      FindProgram(arguments[0], program_directory, path_variable ? path_variable : "/usr/bin:/bin");

  std::vector<char*> argv;
  for (const std::string& word : arguments) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);

  int error_pipe[2];
  if (::pipe2(error_pipe, O_CLOEXEC) != 0) return program + ": " + std::strerror(errno);

  SpawnSetup setup;
  // The child starts with every signal at its default and none blocked, whatever
  // this process (a Qt program, a test runner) has changed.
  sigset_t all_signals;
  sigset_t no_signals;
  sigfillset(&all_signals);
  sigdelset(&all_signals, SIGKILL);
  sigdelset(&all_signals, SIGSTOP);
  sigemptyset(&no_signals);
  ::posix_spawnattr_setsigdefault(setup.attributes(), &all_signals);
  ::posix_spawnattr_setsigmask(setup.attributes(), &no_signals);
  ::posix_spawnattr_setflags(setup.attributes(), POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  // The pipe goes to standard error first: should this process run with its own
  // standard input or output closed, the pipe may have been given descriptor 0 or 1.
  ::posix_spawn_file_actions_adddup2(setup.actions(), error_pipe[1], STDERR_FILENO);
  ::posix_spawn_file_actions_addopen(setup.actions(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_addopen(setup.actions(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  // The child enters the program directory itself, before the program is
  // looked up, so a relative program path means the same there as here.
  if (!program_directory.empty()) {
    ::posix_spawn_file_actions_addchdir_np(setup.actions(), program_directory.c_str());
  }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
  // Descriptors this process opened without close-on-exec stay out of the child.
  ::posix_spawn_file_actions_addclosefrom_np(setup.actions(), STDERR_FILENO + 1);
#endif

  // glibc's posix_spawn waits until the exec has happened, so a program that is
  // missing or cannot be executed is reported here, not by a later poll.
  pid_t pid = -1;
  const int spawn_error = ::posix_spawn(&pid, program.c_str(), setup.actions(), setup.attributes(),
                                        argv.data(), environ);
  ::close(error_pipe[1]);
  if (spawn_error != 0) {
    ::close(error_pipe[0]);
    return program + ": " + std::strerror(spawn_error);
  }

  ::fcntl(error_pipe[0], F_SETFL, ::fcntl(error_pipe[0], F_GETFL) | O_NONBLOCK);
  pid_ = pid;
  error_fd_ = error_pipe[0];
  status_.state = ProcessState::kRunning;
  return std::nullopt;
}

ProcessStatus ChildProcess::Poll() {
  if (!Running()) return status_;
  DrainErrorOutput();
  int wait_status = 0;
  pid_t result;
  do {
    result = ::waitpid(pid_, &wait_status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result == pid_) {
    Finish(wait_status);
  } else if (result < 0) {
    // Someone else reaped the child (SIGCHLD ignored, a stray waitpid(-1)):
    // it has ended, with a status that is lost.
    status_.state = ProcessState::kExited;
    status_.exit_status = -1;
    Release();
  }
  return status_;
}

void ChildProcess::Stop() {
  if (!Running()) return;
  ::kill(pid_, SIGKILL);
  int wait_status = 0;
  pid_t result;
  do {
    result = ::waitpid(pid_, &wait_status, 0);
  } while (result < 0 && errno == EINTR);
  if (result == pid_) {
    Finish(wait_status);
  } else {
    status_.state = ProcessState::kKilled;
    status_.signal = SIGKILL;
    Release();
  }
}

void ChildProcess::Detach() {
  if (!Running()) return;
  Release();
  status_ = ProcessStatus{};
}

void ChildProcess::DrainErrorOutput() {
  if (error_fd_ < 0) return;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(error_fd_, buffer, sizeof buffer);
    if (got > 0) {
      const size_t room = kMaxErrorOutput - status_.error_output.size();
      status_.error_output.append(buffer, std::min(room, static_cast<size_t>(got)));
      continue;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got == 0) {  // every writer has closed its end
      ::close(error_fd_);
      error_fd_ = -1;
    }
    return;  // EAGAIN: nothing more for now
  }
}

void ChildProcess::Finish(int wait_status) {
  // The child has ended, so what it wrote is all in the pipe now (unless a
  // process it started still holds the pipe; then we keep what is there).
  DrainErrorOutput();
  if (WIFSIGNALED(wait_status)) {
    status_.state = ProcessState::kKilled;
    status_.signal = WTERMSIG(wait_status);
  } else {
    status_.state = ProcessState::kExited;
    status_.exit_status = WEXITSTATUS(wait_status);
  }
  Release();
}

void ChildProcess::Release() {
  if (error_fd_ >= 0) ::close(error_fd_);
  error_fd_ = -1;
  pid_ = -1;
}

}  // namespace ixo

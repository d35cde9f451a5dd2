#include "platform/shell_open.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/command_line.h"

extern char** environ;

namespace ixo {

namespace {

// Writes the exec's errno to the parent; only async-signal-safe calls follow fork.
[[noreturn]] void ReportAndExit(int report_fd, int error) {
  [[maybe_unused]] const ssize_t ignored = ::write(report_fd, &error, sizeof error);
  ::_exit(127);
}

}  // namespace

std::optional<std::string> StartDetached(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return "No program to start";
  const char* path_variable = std::getenv("PATH");
  // The program is looked up before forking: after fork only async-signal-safe
  // calls are allowed, and PATH search is not one of them. An empty program
  // directory leaves only PATH to search.
  const std::string program =
      FindProgram(argv[0], "", path_variable ? path_variable : "/usr/bin:/bin");
  if (program.find('/') == std::string::npos) return program + ": " + std::strerror(ENOENT);
  std::vector<char*> args;
  for (const std::string& word : argv) args.push_back(const_cast<char*>(word.c_str()));
  args.push_back(nullptr);

  // The report pipe closes on a successful exec, or carries the exec's errno.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return std::string(std::strerror(errno));
  // Kept above the standard descriptors, which the opener's are dup'ed onto.
  for (int& end : report) {
    if (end <= STDERR_FILENO) {
      const int moved = ::fcntl(end, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
      ::close(end);
      end = moved;
    }
  }

  const pid_t middle = ::fork();
  if (middle < 0) {
    const int error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return std::string(std::strerror(error));
  }
  if (middle == 0) {
    // The middle process starts the opener and ends at once, so the opener is
    // adopted by init (or the nearest subreaper) and never becomes our zombie.
    ::close(report[0]);
    const pid_t opener = ::fork();
    if (opener < 0) ReportAndExit(report[1], errno);
    if (opener > 0) ::_exit(0);
    ::setsid();
    // Signal dispositions we set and descriptors we opened are none of the
    // opener's business; the report pipe itself is already close-on-exec.
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    for (int signal_number = 1; signal_number < NSIG; ++signal_number) {
      if (signal_number != SIGKILL && signal_number != SIGSTOP) {
        ::sigaction(signal_number, &default_action, nullptr);
      }
    }
    sigset_t no_signals;
    sigemptyset(&no_signals);
    ::sigprocmask(SIG_SETMASK, &no_signals, nullptr);
    ::close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC);
    const int null_fd = ::open("/dev/null", O_RDWR);
    if (null_fd >= 0) {
      ::dup2(null_fd, STDIN_FILENO);
      ::dup2(null_fd, STDOUT_FILENO);
      ::dup2(null_fd, STDERR_FILENO);
      if (null_fd > STDERR_FILENO) ::close(null_fd);
    }
    ::execve(program.c_str(), args.data(), environ);
    ReportAndExit(report[1], errno);
  }

  ::close(report[1]);
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  // Waits only until the opener has exec'd or failed to, a matter of moments.
  int exec_error = 0;
  ssize_t got;
  do {
    got = ::read(report[0], &exec_error, sizeof exec_error);
  } while (got < 0 && errno == EINTR);
  ::close(report[0]);
  if (got == static_cast<ssize_t>(sizeof exec_error)) {
    return program + ": " + std::strerror(exec_error);
  }
  return std::nullopt;
}

std::optional<std::string> OpenWithDesktop(const std::string& target) {
  return StartDetached({"xdg-open", target});
}

}  // namespace ixo

#include "platform/process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/files.h"
#include "temp_dir.h"

namespace ixo {
namespace {

using testing::NoChildLeft;
using testing::TempDir;

// Blocks until the child has ended, without reaping it, so the next poll must
// see the end; no clock is involved.
void AwaitEnd(const ChildProcess& child) {
  siginfo_t info{};
  ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(child.Pid()), &info, WEXITED | WNOWAIT), 0);
}

ProcessStatus RunToEnd(ChildProcess& child) {
  AwaitEnd(child);
  return child.Poll();
}

TEST(ChildProcess, ReportsExitStatusAndStandardError) {
  TempDir dir;
  const struct {
    std::string body;
    ProcessState state;
    int exit_status, signal;
    std::string error_output;
  } cases[] = {
      {"exit 0", ProcessState::kExited, 0, 0, ""},
      {"echo 'cannot read input.tmp' >&2; exit 3", ProcessState::kExited, 3, 0,
       "cannot read input.tmp\n"},
      // Standard output goes nowhere; only standard error is kept.
      {"echo to-output; printf 'only this' >&2", ProcessState::kExited, 0, 0, "only this"},
      // Standard input is empty, so a program reading it does not wait.
      {"read line; echo \"got:$line\" >&2; exit 255", ProcessState::kExited, 255, 0, "got:\n"},
      {"echo dying >&2; kill -TERM $$", ProcessState::kKilled, 0, SIGTERM, "dying\n"},
  };
  for (const auto& c : cases) {
    const std::string script = dir.Script("standin", c.body);
    ChildProcess child;
    ASSERT_EQ(child.Start({script}, ""), std::nullopt) << c.body;
    EXPECT_TRUE(child.Running());
    const ProcessStatus status = RunToEnd(child);
    EXPECT_EQ(status.state, c.state) << c.body;
    EXPECT_EQ(status.exit_status, c.exit_status) << c.body;
    EXPECT_EQ(status.signal, c.signal) << c.body;
    EXPECT_EQ(status.error_output, c.error_output) << c.body;
    EXPECT_FALSE(child.Running());
    EXPECT_EQ(child.Pid(), -1);
    EXPECT_EQ(child.Poll().error_output, c.error_output) << "a later poll keeps the status";
    EXPECT_TRUE(NoChildLeft()) << c.body;
  }
}

TEST(ChildProcess, PassesArgumentsAsTheyStandAndRunsInTheProgramDirectory) {
  TempDir dir;
  TempDir program;
  const std::string script = dir.Script("standin", "printf '%s|' \"$@\" >&2; pwd >&2");
  const std::string cwd = CurrentDirectory();
  ASSERT_EQ(ChangeDirectory(dir.path()), std::nullopt);
  ChildProcess child;
  // Without a program directory the child inherits the current directory.
  const auto error = child.Start({script, "input.tmp", "2", "0.60 1.90", ""}, "");
  ASSERT_EQ(ChangeDirectory(cwd), std::nullopt);
  ASSERT_EQ(error, std::nullopt);
  const std::string real_dir = std::filesystem::canonical(dir.path()).string();
  EXPECT_EQ(RunToEnd(child).error_output, "input.tmp|2|0.60 1.90||" + real_dir + "\n");
  // With one it runs there, and ours stays as it was.
  ASSERT_EQ(child.Start({script, "x"}, program.path()), std::nullopt);
  const std::string real_program = std::filesystem::canonical(program.path()).string();
  EXPECT_EQ(RunToEnd(child).error_output, "x|" + real_program + "\n");
  EXPECT_EQ(CurrentDirectory(), cwd);
}

TEST(ChildProcess, ChildGetsNoOtherDescriptorOfOurs) {
  TempDir dir;
  const int leaky = ::open(dir.Write("open.txt", "").c_str(), O_RDONLY);  // no close-on-exec
  ASSERT_GE(leaky, 3);
  const std::string fd = "/dev/fd/" + std::to_string(leaky);
  ChildProcess child;
  ASSERT_EQ(
      child.Start({dir.Script("standin", "[ -e " + fd + " ] && echo leaked >&2; exit 0")}, ""),
      std::nullopt);
  EXPECT_EQ(RunToEnd(child).error_output, "");
  ::close(leaky);
}

TEST(ChildProcess, StopKillsAndReaps) {
  TempDir dir;
  const std::string script = dir.Script("standin", "echo started >&2; exec sleep 600");
  ChildProcess child;
  ASSERT_EQ(child.Start({script}, ""), std::nullopt);
  const pid_t pid = child.Pid();
  ASSERT_GT(pid, 0);
  EXPECT_EQ(child.Poll().state, ProcessState::kRunning);
  child.Stop();
  const ProcessStatus status = child.Poll();
  EXPECT_EQ(status.state, ProcessState::kKilled);
  EXPECT_EQ(status.signal, SIGKILL);
  EXPECT_FALSE(child.Running());
  EXPECT_TRUE(NoChildLeft());
  child.Stop();  // a second stop does nothing
  EXPECT_EQ(child.Poll().signal, SIGKILL);
}

TEST(ChildProcess, StopAfterAnUnpolledEndKeepsTheRealStatus) {
  TempDir dir;
  ChildProcess child;
  ASSERT_EQ(child.Start({dir.Script("standin", "echo bye >&2; exit 4")}, ""), std::nullopt);
  AwaitEnd(child);
  child.Stop();
  const ProcessStatus status = child.Poll();
  EXPECT_EQ(status.state, ProcessState::kExited);
  EXPECT_EQ(status.exit_status, 4);
  EXPECT_EQ(status.error_output, "bye\n");
  EXPECT_TRUE(NoChildLeft());
}

TEST(ChildProcess, DestructionAndRestartLeaveNoProcessBehind) {
  TempDir dir;
  const std::string script = dir.Script("standin", "exec sleep 600");
  pid_t first = -1;
  {
    ChildProcess child;
    ASSERT_EQ(child.Start({script}, ""), std::nullopt);
    first = child.Pid();
    // Starting again while the first still runs stops the first.
    ASSERT_EQ(child.Start({script}, ""), std::nullopt);
    EXPECT_NE(child.Pid(), first);
    EXPECT_EQ(::kill(first, 0), -1) << "the first child is gone";
    ChildProcess moved(std::move(child));
    EXPECT_FALSE(child.Running());
    EXPECT_TRUE(moved.Running());
    ChildProcess assigned;
    ASSERT_EQ(assigned.Start({script}, ""), std::nullopt);
    assigned = std::move(moved);  // stops the one `assigned` held
    EXPECT_TRUE(assigned.Running());
  }
  EXPECT_TRUE(NoChildLeft());
}

TEST(ChildProcess, DetachedChildOutlivesItsHandle) {
  TempDir dir;
  const std::string script = dir.Script("standin", "exec sleep 600");
  pid_t pid = -1;
  {
    ChildProcess child;
    ASSERT_EQ(child.Start({script}, ""), std::nullopt);
    pid = child.Pid();
    ASSERT_GT(pid, 0);
    child.Detach();
    EXPECT_FALSE(child.Running());
    EXPECT_EQ(child.Pid(), -1);
    EXPECT_EQ(child.Poll().state, ProcessState::kNotStarted);
    child.Stop();  // holds no child any more, so stops nothing
    child.Detach();
  }
  // Neither Stop nor the destructor touched it: it has not ended.
  siginfo_t info{};
  ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT), 0);
  EXPECT_EQ(info.si_pid, 0) << "the detached child still runs";
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  int wait_status = 0;
  ASSERT_EQ(::waitpid(pid, &wait_status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(wait_status));
  EXPECT_TRUE(NoChildLeft());
}

TEST(ChildProcess, KeepsOnlyTheFirstPartOfAFloodOfErrors) {
  TempDir dir;
  const std::string script = dir.Script(
      "standin", "i=0; while [ $i -lt 2000 ]; do printf '%099d\\n' $i >&2; i=$((i+1)); done");
  ChildProcess child;
  ASSERT_EQ(child.Start({script}, ""), std::nullopt);
  // The pipe holds less than the script writes: it finishes only if polls drain it.
  ProcessStatus status;
  do {
    status = child.Poll();
    if (status.state == ProcessState::kRunning) ::usleep(1000);
  } while (status.state == ProcessState::kRunning);
  EXPECT_EQ(status.state, ProcessState::kExited);
  EXPECT_EQ(status.exit_status, 0);
  ASSERT_EQ(status.error_output.size(), ChildProcess::kMaxErrorOutput);
  EXPECT_EQ(status.error_output.substr(0, 100), std::string(99, '0') + "\n");
}

TEST(ChildProcess, StartFailuresNameTheProgramAndTheReason) {
  TempDir dir;
  const std::string file = dir.Write("plain.txt", "exit 0\n", 0644);
  ::mkdir((dir.path() + "folder").c_str(), 0755);
  const struct {
    std::vector<std::string> command;
    std::string message;
  } cases[] = {
      {{file, "2"}, file + ": Permission denied"},
      {{dir.path() + "folder"}, dir.path() + "folder: Permission denied"},
      {{dir.path() + "missing", "2", "0.60"}, dir.path() + "missing: No such file or directory"},
      {{file + "/ixo_engine"}, file + "/ixo_engine: Not a directory"},
      {{dir.Write("no_interpreter", "exit 0\n", 0755)},
       dir.path() + "no_interpreter: Exec format error"},
      {{}, "No program named in an empty command line"},
      {{""}, "No program named in an empty command line"},
  };
  for (const auto& c : cases) {
    ChildProcess child;
    const std::string shown = c.command.empty() ? "" : c.command[0];
    const auto error = child.Start(c.command, "");
    ASSERT_TRUE(error.has_value()) << shown;
    EXPECT_EQ(*error, c.message) << shown;
    EXPECT_FALSE(child.Running());
    EXPECT_EQ(child.Poll().state, ProcessState::kNotStarted);
  }
  EXPECT_TRUE(NoChildLeft());
}

TEST(ChildProcess, BareNameMissingEverywhereIsReportedBesideTheProgram) {
  ChildProcess child;
  TempDir program;
  const auto error = child.Start({"ixo_platform_no_such_program", "input.tmp"}, program.path());
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(*error, program.path() + "ixo_platform_no_such_program: No such file or directory");
}

TEST(ChildProcess, BareNameIsFoundFirstInTheGivenProgramDirectory) {
  TempDir dir;
  const std::string program_dir = dir.path() + "with blank/";
  ASSERT_EQ(::mkdir(program_dir.c_str(), 0755), 0);
  const std::string script = "#!/bin/sh\nprintf beside: >&2; printf '%s|' \"$@\" >&2\n";
  dir.Write("with blank/ixo_engine", script, 0755);
  ChildProcess child;
  ASSERT_EQ(child.Start({"ixo_engine", "input.tmp", "2"}, program_dir), std::nullopt);
  EXPECT_EQ(RunToEnd(child).error_output, "beside:input.tmp|2|");
  // Not found there, so along PATH.
  ASSERT_EQ(child.Start({"sh", "-c", "exit 7"}, program_dir), std::nullopt);
  EXPECT_EQ(RunToEnd(child).exit_status, 7);
}

TEST(ChildProcess, BareNameIsFoundAlongThePath) {
  TempDir dir;
  dir.Script("ixo_platform_standin", "echo found >&2");
  const std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (dir.path() + ":" + old_path).c_str(), 1);
  ChildProcess child;
  const auto error = child.Start({"ixo_platform_standin"}, "");
  ::setenv("PATH", old_path.c_str(), 1);
  ASSERT_EQ(error, std::nullopt);
  EXPECT_EQ(RunToEnd(child).error_output, "found\n");
}

}  // namespace
}  // namespace ixo

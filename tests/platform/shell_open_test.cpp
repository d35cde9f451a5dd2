#include "platform/shell_open.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "temp_dir.h"

namespace ixo {
namespace {

using testing::NoChildLeft;
using testing::ReadWholeFile;
using testing::TempDir;

// The stand-in opener writes its arguments to a file it renames into place, so
// the file is complete once it is there.
std::string RecordingScript(const TempDir& dir, const std::string& name) {
  return dir.Script(name, "printf '%s|' \"$@\" > '" + dir.path() + "args.part'; mv '" + dir.path() +
                              "args.part' '" + dir.path() + "args'");
}

// Waits for the detached opener, which is not our child and cannot be awaited.
std::string AwaitRecordedArguments(const TempDir& dir) {
  const std::string file = dir.path() + "args";
  for (int i = 0; i < 20000 && ::access(file.c_str(), F_OK) != 0; ++i) ::usleep(1000);
  return ReadWholeFile(file);
}

TEST(OpenWithDesktop, HandsTheTargetToXdgOpenAsOneArgument) {
  TempDir dir;
  RecordingScript(dir, "xdg-open");
  const std::string old_path = std::getenv("PATH") ? std::getenv("PATH") : "";
  ::setenv("PATH", (dir.path() + ":" + old_path).c_str(), 1);
  const auto error = OpenWithDesktop("mailto:someone@example.org");
  ::setenv("PATH", old_path.c_str(), 1);
  ASSERT_EQ(error, std::nullopt);
  EXPECT_TRUE(NoChildLeft()) << "the opener must not be our child";
  EXPECT_EQ(AwaitRecordedArguments(dir), "mailto:someone@example.org|");
}

TEST(StartDetached, PassesArgumentsUnsplitAndLeavesNoChild) {
  TempDir dir;
  const std::string script = RecordingScript(dir, "opener");
  ASSERT_EQ(StartDetached({script, "https://example.org/a b", ""}), std::nullopt);
  EXPECT_TRUE(NoChildLeft());
  EXPECT_EQ(AwaitRecordedArguments(dir), "https://example.org/a b||");
}

TEST(StartDetached, OpenerGetsNoDescriptorOfOurs) {
  TempDir dir;
  const int leaky = ::open(dir.Write("open.txt", "").c_str(), O_RDONLY);  // no close-on-exec
  ASSERT_GE(leaky, 3);
  const std::string script = RecordingScript(dir, "opener");
  const std::string fd = "/dev/fd/" + std::to_string(leaky);
  ASSERT_EQ(StartDetached({"/bin/sh", "-c", "[ -e " + fd + " ] && exit 1; exec " + script + " ok"}),
            std::nullopt);
  ::close(leaky);
  EXPECT_EQ(AwaitRecordedArguments(dir), "ok|");
}

TEST(StartDetached, ReportsWhatCannotBeStarted) {
  TempDir dir;
  const std::string file = dir.Write("plain", "", 0644);
  ::mkdir((dir.path() + "folder").c_str(), 0755);
  const struct {
    std::vector<std::string> argv;
    std::string message;
  } cases[] = {
      {{file, "x"}, file + ": Permission denied"},
      {{dir.path() + "folder"}, dir.path() + "folder: Permission denied"},
      {{dir.path() + "missing"}, dir.path() + "missing: No such file or directory"},
      {{}, "No program to start"},
  };
  for (const auto& c : cases) {
    const auto error = StartDetached(c.argv);
    ASSERT_TRUE(error.has_value()) << c.message;
    EXPECT_EQ(*error, c.message);
  }
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace ixo

// The run controller over the real platform with stand-in engines (shell
// scripts named ixo_engine in a scratch program directory).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "analysis/test_run_controller.h"
#include "platform/platform_run_host.h"
#include "run_directory.h"
#include "run_fakes.h"

namespace ixo {
namespace {

using testing::FakeControls;
using testing::NoChildLeft;
using testing::RecordingHost;
using testing::RunDirectory;
using testing::TickUntilIdle;

// Writes its result the way the engine does: complete, then renamed into place.
const std::string kWriteDimensionAsValue =
    "printf '%s.250\\n' \"$2\" > output.tmp.part && mv output.tmp.part output.tmp";

class PlatformRunTest : public ::testing::Test {
 protected:
  PlatformRunTest() { dir_.Write("input.tmp", "1\r\n2\r\n3\r\n"); }

  RunDirectory dir_;
  FakeControls controls_;
  RecordingHost host_{dir_.path()};
  TestRunController controller_{controls_, host_, '.'};
};

TEST_F(PlatformRunTest, StandInEngineDrivesAWholeRun) {
  dir_.StandInEngine(kWriteDimensionAsValue);
  controls_.max_dimension_index = 2;
  controller_.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  EXPECT_TRUE(controls_.messages.empty()) << controls_.messages[0];
  EXPECT_EQ(controls_.grid[1][1], "2.25");
  EXPECT_EQ(controls_.grid[3][0], "m=4");
  EXPECT_EQ(controls_.grid[3][1], "4.25");
  EXPECT_EQ(host_.commands.size(), 3u);
  EXPECT_FALSE(dir_.Exists("output.tmp"));
  EXPECT_TRUE(dir_.Exists("input.tmp"));
  EXPECT_TRUE(NoChildLeft());
}

TEST_F(PlatformRunTest, EnginesRunInTheProgramDirectory) {
  // Something else moved the current directory after the run started.
  dir_.StandInEngine("pwd > where.txt; " + kWriteDimensionAsValue);
  controls_.max_dimension_index = 1;
  controller_.Button1Click();
  ASSERT_EQ(::chdir("/"), 0);
  ASSERT_TRUE(TickUntilIdle(controller_));
  std::string where = dir_.Read("where.txt");
  if (!where.empty() && where.back() == '\n') where.pop_back();
  EXPECT_EQ(std::filesystem::canonical(where), std::filesystem::canonical(dir_.path()));
  EXPECT_EQ(controls_.grid[2][1], "3.25");
}

TEST_F(PlatformRunTest, ProgramDirectoryWithABlankInItsName) {
  const std::string directory = dir_.path() + "My Programs/";
  std::filesystem::create_directory(directory);
  std::filesystem::copy_file(dir_.path() + "input.tmp", directory + "input.tmp");
  std::ofstream(directory + "ixo_engine") << "#!/bin/sh\n" << kWriteDimensionAsValue << "\n";
  std::filesystem::permissions(directory + "ixo_engine", std::filesystem::perms::owner_all);
  RecordingHost host(directory);
  TestRunController controller(controls_, host, '.');
  controls_.max_dimension_index = 0;
  controller.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller));
  EXPECT_TRUE(controls_.messages.empty()) << controls_.messages[0];
  EXPECT_EQ(controls_.grid[1][1], "2.25");
  EXPECT_FALSE(std::filesystem::exists(directory + "output.tmp"));
}

TEST_F(PlatformRunTest, ResultThatIsNotANumberStopsWithTheReadError) {
  dir_.StandInEngine("printf 'abc\\n' > output.tmp.part && mv output.tmp.part output.tmp");
  controller_.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  EXPECT_EQ(controls_.errors, std::vector<std::string>{"Invalid numeric input"});
  EXPECT_EQ(controls_.grid[1][1], "");
  EXPECT_EQ(host_.commands.size(), 1u);
  EXPECT_TRUE(NoChildLeft());
}

TEST_F(PlatformRunTest, EngineEndingWithoutResultIsReportedWithItsStandardError) {
  struct Case {
    std::string body;
    std::string expected;
  };
  const Case cases[] = {
      {"echo 'ixo_engine: cannot open input.tmp: No such file or directory' >&2; exit 3",
       "The engine ixo_engine ended without a result (exit status 3).\n"
       "ixo_engine: cannot open input.tmp: No such file or directory"},
      {"exit 0", "The engine ixo_engine ended without a result (exit status 0)."},
      {"echo crashing >&2; kill -KILL $$",
       "The engine ixo_engine ended without a result (killed by signal 9, Killed).\ncrashing"},
  };
  for (const Case& c : cases) {
    RunDirectory dir;
    dir.Write("input.tmp", "1\n2\n3\n");
    dir.StandInEngine(c.body);
    FakeControls controls;
    RecordingHost host(dir.path());
    TestRunController controller(controls, host, '.');
    controller.SpeedButton3Click();
    ASSERT_TRUE(TickUntilIdle(controller)) << c.body;
    EXPECT_EQ(controls.messages, std::vector<std::string>{c.expected}) << c.body;
    EXPECT_TRUE(controls.memo.empty()) << c.body;
    EXPECT_TRUE(NoChildLeft()) << c.body;
  }
}

TEST_F(PlatformRunTest, EngineThatCannotStartIsNamed) {
  struct Case {
    std::string name;
    void (*prepare)(const RunDirectory&);
    std::string reason;
  };
  const Case cases[] = {
      {"missing", [](const RunDirectory&) {}, "No such file or directory"},
      {"not executable",
       [](const RunDirectory& d) { d.Write("ixo_engine", "#!/bin/sh\nexit 0\n", 0644); },
       "Permission denied"},
      {"a folder",
       [](const RunDirectory& d) { std::filesystem::create_directory(d.path() + "ixo_engine"); },
       "Permission denied"},
  };
  for (const Case& c : cases) {
    RunDirectory dir;
    dir.Write("input.tmp", "1\n2\n3\n");
    c.prepare(dir);
    FakeControls controls;
    RecordingHost host(dir.path());
    TestRunController controller(controls, host, '.');
    controller.Button1Click();
    EXPECT_FALSE(controller.Running()) << c.name;
    EXPECT_FALSE(controls.timer) << c.name;
    ASSERT_EQ(controls.messages.size(), 1u) << c.name;
    const std::string& message = controls.messages[0];
    EXPECT_EQ(message.rfind("The engine ixo_engine cannot be started: ", 0), 0u) << message;
    EXPECT_NE(message.find(dir.path() + "ixo_engine"), std::string::npos) << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    EXPECT_TRUE(NoChildLeft()) << c.name;
  }
}

TEST_F(PlatformRunTest, StartDuringARunStopsTheEarlierEngine) {
  // The first engine would write a value of its own a moment later; the
  // second run must show only its own engines' values.
  dir_.Write("slow", "");
  dir_.StandInEngine(
      "if [ -f slow ]; then rm -f slow; sleep 1; printf '9.999\\n' > output.tmp; exit 0; fi\n" +
      kWriteDimensionAsValue);
  controls_.max_dimension_index = 1;
  controller_.Button1Click();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (dir_.Exists("slow") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_FALSE(dir_.Exists("slow"));
  controller_.Timer1Timer();
  EXPECT_TRUE(controller_.Running());
  controller_.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  EXPECT_EQ(controls_.grid[1][1], "2.25");
  EXPECT_EQ(controls_.grid[2][1], "3.25");
  // Longer than the first engine would have slept: it was stopped, so nothing comes.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_FALSE(dir_.Exists("output.tmp"));
  EXPECT_TRUE(controls_.messages.empty());
  EXPECT_TRUE(NoChildLeft());
}

TEST_F(PlatformRunTest, StaleResultIsNeverShown) {
  dir_.Write("output.tmp", "7.777\n");
  dir_.StandInEngine("sleep 0.2; " + kWriteDimensionAsValue);
  controls_.max_dimension_index = 0;
  controller_.Button1Click();
  EXPECT_FALSE(dir_.Exists("output.tmp"));
  ASSERT_TRUE(TickUntilIdle(controller_));
  EXPECT_EQ(controls_.grid[1][1], "2.25");
}

TEST_F(PlatformRunTest, ResultPathThatCannotBeClearedStopsTheStart) {
  // A folder stands where the result file belongs: it cannot be deleted, so
  // no engine is started whose result could never be told from what is there.
  std::filesystem::create_directory(dir_.path() + "output.tmp");
  dir_.StandInEngine(kWriteDimensionAsValue);
  controller_.Button1Click();
  EXPECT_FALSE(controller_.Running());
  EXPECT_TRUE(host_.commands.empty());
  ASSERT_EQ(controls_.messages.size(), 1u);
  EXPECT_NE(controls_.messages[0].find(dir_.path() + "output.tmp"), std::string::npos)
      << controls_.messages[0];
}

}  // namespace
}  // namespace ixo

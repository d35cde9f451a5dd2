// Faults in the hand-over between the run controller and the real ixo_engine:
// an engine killed half-way, a result file that cannot be written, input.tmp
// changed under a run, a stale or undeletable output.tmp, an engine that
// cannot start, and a second start during a run. Every case runs the built
// engine (directly, or through a small shell wrapper that sets up the fault
// before it execs the engine) in a scratch program directory, ticking the poll
// the way the window's timer does. Only means that hold for root are used.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "analysis/number_text.h"
#include "analysis/test_run_controller.h"
#include "run_directory.h"
#include "run_fakes.h"

#ifndef IXO_ENGINE_PATH
#error "IXO_ENGINE_PATH must name the built engine"
#endif

namespace ixo {
namespace {

namespace fs = std::filesystem;
using testing::FakeControls;
using testing::NoChildLeft;
using testing::RecordingHost;
using testing::RunDirectory;
using testing::SmallSeries;
using testing::TickUntilIdle;

const std::string kEndedWithout = "The engine ixo_engine ended without a result (";

// The names in `directory`, sorted, so a left-over temporary file shows up.
std::vector<std::string> Names(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool ProcessGone(int pid) {
  return ::kill(pid, 0) == -1 && errno == ESRCH;
}

// One scratch program directory with the built engine linked in as ixo_engine
// (or, with UseWrapper, a script that prepares a fault and execs it).
struct RunSetup {
  RunSetup() {
    dir.Write("input.tmp", SmallSeries(300));
    fs::create_symlink(IXO_ENGINE_PATH, dir.path() + "ixo_engine");
  }
  void UseWrapper(const std::string& prepare) {
    fs::remove(dir.path() + "ixo_engine");
    dir.StandInEngine(prepare + "\nexec '" + std::string(IXO_ENGINE_PATH) + "' \"$@\"");
  }
  bool Ends() { return TickUntilIdle(controller); }

  RunDirectory dir;
  FakeControls controls;
  RecordingHost host{dir.path()};
  TestRunController controller{controls, host, '.'};
};

TEST(HandoverFaults, EngineKilledMidRunLeavesNoResultAndTheNextRunWorks) {
  RunSetup s;
  // Long enough that the engine is still computing when it is killed.
  s.dir.Write("input.tmp", SmallSeries(10000));
  s.controller.Button1Click();
  const int pid = s.host.EnginePid();
  ASSERT_GT(pid, 0);
  ASSERT_EQ(::kill(pid, SIGKILL), 0);
  ASSERT_TRUE(s.Ends());
  ASSERT_EQ(s.controls.messages.size(), 1u);
  EXPECT_EQ(s.controls.messages[0].rfind(kEndedWithout + "killed by signal 9", 0), 0u)
      << s.controls.messages[0];
  EXPECT_FALSE(s.controller.Running());
  EXPECT_EQ(s.controls.grid[1][1], "");
  EXPECT_EQ(Names(s.dir.path()), (std::vector<std::string>{"input.tmp", "ixo_engine"}));
  EXPECT_TRUE(NoChildLeft());

  s.controls.messages.clear();
  s.controls.max_dimension_index = 0;
  s.controller.Button1Click();
  ASSERT_TRUE(s.Ends());
  EXPECT_TRUE(s.controls.messages.empty()) << s.controls.messages[0];
  EXPECT_EQ(s.controls.grid[1][0], "m=2");
  EXPECT_TRUE(ReadNumber(s.controls.grid[1][1], '.').has_value()) << s.controls.grid[1][1];
  EXPECT_EQ(s.controls.status, kDoneStatus);
  EXPECT_FALSE(s.dir.Exists("output.tmp"));
  EXPECT_TRUE(NoChildLeft());
}

TEST(HandoverFaults, ResultThatCannotBeWrittenIsReportedAndLeavesNoFile) {
  struct Case {
    std::string name;
    std::string prepare;  // shell lines run before the engine, in the program directory
    std::vector<std::string> names_after;
  };
  const std::vector<std::string> plain = {"input.tmp", "ixo_engine"};
  const Case cases[] = {
      {"file size limit 0, SIGXFSZ ignored", "trap '' XFSZ\nulimit -f 0", plain},
      {"file size limit 0, SIGXFSZ at its default", "ulimit -f 0", plain},
      {"a folder where output.tmp goes",
       "mkdir output.tmp",
       {"input.tmp", "ixo_engine", "output.tmp"}},
  };
  for (const Case& c : cases) {
    RunSetup s;
    s.UseWrapper(c.prepare);
    s.controls.max_dimension_index = 0;
    s.controller.Button1Click();
    ASSERT_TRUE(s.Ends()) << c.name;
    ASSERT_EQ(s.controls.messages.size(), 1u) << c.name;
    const std::string& message = s.controls.messages[0];
    EXPECT_EQ(message.rfind(kEndedWithout + "exit status 1).\nixo_engine: cannot ", 0), 0u)
        << c.name << ": " << message;
    EXPECT_NE(message.find("output.tmp"), std::string::npos) << c.name << ": " << message;
    EXPECT_EQ(s.controls.grid[1][1], "") << c.name;
    EXPECT_FALSE(s.controller.Running()) << c.name;
    EXPECT_EQ(Names(s.dir.path()), c.names_after) << c.name;
    EXPECT_TRUE(NoChildLeft()) << c.name;
  }
}

TEST(HandoverFaults, InputChangedBetweenStepsStopsTheRunWithTheEnginesError) {
  struct Case {
    std::string name;
    std::function<void(const RunDirectory&)> change;
    std::string engine_says;
  };
  const Case cases[] = {
      {"removed", [](const RunDirectory& d) { fs::remove(d.path() + "input.tmp"); },
       "cannot open series file 'input.tmp'"},
      {"replaced by a constant series",
       [](const RunDirectory& d) { d.Write("input.tmp", "4\r\n4\r\n4\r\n4\r\n4\r\n"); },
       "constant series"},
      {"replaced by text", [](const RunDirectory& d) { d.Write("input.tmp", "1\r\nabc\r\n"); },
       "'abc' on line 2"},
      {"replaced by too few values", [](const RunDirectory& d) { d.Write("input.tmp", "1\n2\n"); },
       "m = 3 needs at least 4 values"},
      {"replaced by a folder",
       [](const RunDirectory& d) {
         fs::remove(d.path() + "input.tmp");
         fs::create_directory(d.path() + "input.tmp");
       },
       "cannot read series file 'input.tmp'"},
  };
  for (const Case& c : cases) {
    RunSetup s;
    s.host.before_start = [&](int start) {
      if (start == 1) c.change(s.dir);
    };
    s.controls.max_dimension_index = 1;  // dimensions 2 and 3
    s.controller.Button1Click();
    ASSERT_TRUE(s.Ends()) << c.name;
    EXPECT_EQ(s.host.commands.size(), 2u) << c.name;
    EXPECT_TRUE(ReadNumber(s.controls.grid[1][1], '.').has_value()) << c.name;
    EXPECT_EQ(s.controls.grid[2][1], "") << c.name;
    ASSERT_EQ(s.controls.messages.size(), 1u) << c.name;
    const std::string& message = s.controls.messages[0];
    EXPECT_EQ(message.rfind(kEndedWithout + "exit status 1).\nixo_engine: ", 0), 0u)
        << c.name << ": " << message;
    EXPECT_NE(message.find(c.engine_says), std::string::npos) << c.name << ": " << message;
    EXPECT_FALSE(s.controller.Running()) << c.name;
    EXPECT_FALSE(s.dir.Exists("output.tmp")) << c.name;
    EXPECT_TRUE(NoChildLeft()) << c.name;
  }
}

TEST(HandoverFaults, StaleResultIsDeletedBeforeTheFirstStart) {
  // The engine refuses a constant series, so the stale file is the only value
  // there could be: were it not deleted first, it would be shown.
  for (const bool advanced : {false, true}) {
    RunSetup s;
    s.dir.Write("input.tmp", "2\r\n2\r\n2\r\n2\r\n");
    s.dir.Write("output.tmp", "0.777\n");
    if (advanced) {
      s.controller.SpeedButton3Click();
    } else {
      s.controller.Button1Click();
    }
    ASSERT_TRUE(s.Ends()) << advanced;
    ASSERT_EQ(s.controls.messages.size(), 1u) << advanced;
    EXPECT_EQ(s.controls.messages[0].rfind(kEndedWithout, 0), 0u) << s.controls.messages[0];
    EXPECT_EQ(s.controls.grid[1][1], "") << advanced;
    EXPECT_TRUE(s.controls.memo.empty()) << advanced;
    EXPECT_FALSE(s.dir.Exists("output.tmp")) << advanced;
  }

  // A stale result that cannot be deleted (a folder with something in it)
  // stops the start before any engine runs.
  RunSetup s;
  fs::create_directories(s.dir.path() + "output.tmp/inside");
  s.controller.Button1Click();
  EXPECT_FALSE(s.controller.Running());
  EXPECT_FALSE(s.controls.timer);
  EXPECT_TRUE(s.host.commands.empty());
  ASSERT_EQ(s.controls.messages.size(), 1u);
  EXPECT_EQ(s.controls.messages[0].rfind("The old result file " + s.dir.path() + "output.tmp", 0),
            0u)
      << s.controls.messages[0];
  EXPECT_EQ(s.controls.grid[1][1], "");
  EXPECT_TRUE(NoChildLeft());
}

TEST(HandoverFaults, EngineMissingOrNotExecutableStartsNoPoll) {
  struct Case {
    std::string name;
    std::function<void(const RunDirectory&)> prepare;
    std::string reason;
  };
  const Case cases[] = {
      {"missing", [](const RunDirectory& d) { fs::remove(d.path() + "ixo_engine"); },
       "No such file or directory"},
      {"a copy without execute permission",
       [](const RunDirectory& d) {
         fs::remove(d.path() + "ixo_engine");
         fs::copy_file(IXO_ENGINE_PATH, d.path() + "ixo_engine");
         fs::permissions(d.path() + "ixo_engine", fs::perms::owner_read | fs::perms::owner_write);
       },
       "Permission denied"},
  };
  for (const Case& c : cases) {
    for (const bool advanced : {false, true}) {
      RunSetup s;
      c.prepare(s.dir);
      if (advanced) {
        s.controller.SpeedButton3Click();
      } else {
        s.controller.Button1Click();
      }
      EXPECT_FALSE(s.controller.Running()) << c.name;
      EXPECT_FALSE(s.controls.timer) << c.name;
      ASSERT_EQ(s.controls.messages.size(), 1u) << c.name;
      const std::string& message = s.controls.messages[0];
      EXPECT_EQ(message.rfind("The engine ixo_engine cannot be started: ", 0), 0u) << message;
      EXPECT_NE(message.find(c.reason), std::string::npos) << c.name << ": " << message;
      // A later tick finds nothing to do.
      s.controller.Timer1Timer();
      EXPECT_EQ(s.controls.messages.size(), 1u) << c.name;
      EXPECT_TRUE(NoChildLeft()) << c.name;
    }
  }
}

TEST(HandoverFaults, SecondStartStopsTheFirstEngineAndShowsOnlyItsResults) {
  RunSetup s;
  s.dir.Write("input.tmp", SmallSeries(10000));
  s.controls.eps_range = 0;
  s.controls.max_dimension_index = 8;
  s.controller.Button1Click();
  const int first = s.host.EnginePid();
  ASSERT_GT(first, 0);

  s.controls.eps_range = 3;
  s.controls.max_dimension_index = 0;
  s.controller.Button1Click();
  EXPECT_TRUE(ProcessGone(first));
  ASSERT_TRUE(s.Ends());
  EXPECT_TRUE(s.controls.messages.empty()) << s.controls.messages[0];
  EXPECT_EQ(s.host.commands,
            (std::vector<std::string>{"ixo_engine input.tmp 2 0.60 1.90 40 50 1",
                                      "ixo_engine input.tmp 2 0.25 2.00 40 50 1"}));
  for (int row = 2; row <= 9; ++row) EXPECT_EQ(s.controls.grid[row][1], "") << row;
  const std::string shown = s.controls.grid[1][1];

  // The value shown is the second run's own: the same run alone gives it.
  s.controls.grid[1][1].clear();
  s.controller.Button1Click();
  ASSERT_TRUE(s.Ends());
  EXPECT_EQ(s.controls.grid[1][1], shown);

  // An advanced start during a basic run: the grid keeps no basic value and
  // the report holds the advanced block alone.
  s.controls.max_dimension_index = 8;
  s.controller.Button1Click();
  const int basic = s.host.EnginePid();
  ASSERT_GT(basic, 0);
  s.controller.SpeedButton3Click();
  EXPECT_TRUE(ProcessGone(basic));
  ASSERT_TRUE(s.Ends());
  for (int row = 1; row <= 9; ++row) EXPECT_EQ(s.controls.grid[row][1], "") << row;
  ASSERT_EQ(s.controls.memo.size(), 5u);
  EXPECT_EQ(s.controls.memo[4].rfind(" Ixo = ", 0), 0u) << s.controls.memo[4];
  EXPECT_FALSE(s.dir.Exists("output.tmp"));
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace ixo

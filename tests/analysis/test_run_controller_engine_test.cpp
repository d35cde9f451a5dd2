// The run controller driving the real ixo_engine end to end: a scratch
// program directory holding input.tmp and a link to the built engine.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "analysis/number_text.h"
#include "analysis/pvalue_table.h"
#include "analysis/run_controls.h"
#include "analysis/test_run_controller.h"
#include "run_directory.h"
#include "run_fakes.h"

#ifndef IXO_ENGINE_PATH
#error "IXO_ENGINE_PATH must name the built engine"
#endif

namespace ixo {
namespace {

using testing::FakeControls;
using testing::NoChildLeft;
using testing::RecordingHost;
using testing::RunDirectory;
using testing::SmallSeries;
using testing::TickUntilIdle;

const std::string kBusy = "Calculation can take several minutes, please do not interupt.";

class EngineRunTest : public ::testing::Test {
 protected:
  EngineRunTest() {
    dir_.Write("input.tmp", SmallSeries(300));
    std::filesystem::create_symlink(IXO_ENGINE_PATH, dir_.path() + "ixo_engine");
  }

  RunDirectory dir_;
  FakeControls controls_;
  RecordingHost host_{dir_.path()};
  TestRunController controller_{controls_, host_, '.'};
};

TEST_F(EngineRunTest, DefaultBasicRun) {
  dir_.Write("output.tmp", "99.999\n");  // left over from an interrupted run
  controller_.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  ASSERT_TRUE(controls_.messages.empty()) << controls_.messages[0];
  ASSERT_TRUE(controls_.errors.empty()) << controls_.errors[0];

  std::vector<std::string> expected_commands;
  std::vector<std::string> busy_texts;
  for (int m = 2; m <= 10; ++m) {
    expected_commands.push_back("ixo_engine input.tmp " + std::to_string(m) + " 0.60 1.90 40 50 1");
    busy_texts.push_back(kBusy + " [" + std::to_string(m) + "/10]");
  }
  EXPECT_EQ(host_.commands, expected_commands);
  std::vector<std::string> seen_busy;
  for (const std::string& text : controls_.status_history) {
    if (text != "Calculation done.") seen_busy.push_back(text);
  }
  EXPECT_EQ(seen_busy, busy_texts);
  EXPECT_EQ(controls_.status, "Calculation done.");

  for (int row = 1; row <= 9; ++row) {
    const std::vector<std::string>& cells = controls_.grid[row];
    EXPECT_EQ(cells[0], "m=" + std::to_string(row + 1));
    const std::optional<long double> value = ReadNumber(cells[1], '.');
    ASSERT_TRUE(value.has_value()) << row << ": " << cells[1];
    EXPECT_GT(*value, 0) << row;
    EXPECT_NE(*value, 99.999L) << row;
    EXPECT_FALSE(cells[2].empty()) << row;
  }
  EXPECT_FALSE(dir_.Exists("output.tmp"));
  EXPECT_TRUE(dir_.Exists("input.tmp"));
  EXPECT_TRUE(NoChildLeft());
}

TEST_F(EngineRunTest, AdvancedRunWithBds) {
  controls_.checked[CheckBoxId::kCheckBox1] = true;
  controls_.file_caption = "series.txt";
  controller_.SpeedButton3Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  ASSERT_TRUE(controls_.messages.empty()) << controls_.messages[0];
  EXPECT_EQ(host_.commands, (std::vector<std::string>{"ixo_engine input.tmp 2 0.60 1.90 40 50 1",
                                                      "ixo_engine input.tmp 2 0.50 1 1 1 2"}));
  ASSERT_EQ(controls_.memo.size(), 6u);
  EXPECT_EQ(controls_.memo[0], "--------------------");
  EXPECT_EQ(controls_.memo[1], " Input filename: series.txt");
  EXPECT_EQ(controls_.memo[2], " Epsilon range: 0.60 - 1.90");
  EXPECT_EQ(controls_.memo[3], " Embedding dimension: 2");
  EXPECT_EQ(controls_.memo[4].rfind(" Ixo = ", 0), 0u) << controls_.memo[4];
  EXPECT_EQ(controls_.memo[5].rfind(" BDS = ", 0), 0u) << controls_.memo[5];
  const std::string tail = " (m = 2; epsilon = 0.50)";
  EXPECT_EQ(controls_.memo[5].substr(controls_.memo[5].size() - tail.size()), tail);
  const std::string bds_value =
      controls_.memo[5].substr(7, controls_.memo[5].size() - 7 - tail.size());
  EXPECT_TRUE(ReadNumber(bds_value, '.').has_value()) << bds_value;
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_FALSE(dir_.Exists("output.tmp"));
  EXPECT_TRUE(NoChildLeft());
}

TEST_F(EngineRunTest, AdvancedIxoValueMatchesTheBasicFirstStep) {
  controls_.max_dimension_index = 0;
  controller_.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  controller_.SpeedButton3Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  ASSERT_EQ(controls_.memo.size(), 5u);
  EXPECT_EQ(controls_.memo[4], " Ixo = " + controls_.grid[1][1]);
}

TEST_F(EngineRunTest, EngineRefusingItsInputIsReported) {
  // A constant series has no spread: the engine refuses it on standard error.
  dir_.Write("input.tmp", "1\n1\n1\n1\n1\n");
  controller_.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  ASSERT_EQ(controls_.messages.size(), 1u);
  EXPECT_EQ(
      controls_.messages[0].rfind("The engine ixo_engine ended without a result (exit status ", 0),
      0u)
      << controls_.messages[0];
  // followed by the engine's own words
  EXPECT_NE(controls_.messages[0].find('\n'), std::string::npos) << controls_.messages[0];
  EXPECT_EQ(controls_.grid[1][1], "");
  EXPECT_TRUE(NoChildLeft());
}

#ifdef IXO_CLI_PATH
// The permutation test end to end: the engine's steps, then the real ixo_cli
// writing pvalues.tmp, whose p-values and verdicts fill the grid.
TEST_F(EngineRunTest, PermutationRunWithTheRealCli) {
  std::filesystem::create_symlink(IXO_CLI_PATH, dir_.path() + "ixo_cli");
  controls_.size_class = kPermutationClass;
  controls_.max_dimension_index = 1;  // dimensions 2 and 3
  controller_.Button1Click();
  ASSERT_TRUE(TickUntilIdle(controller_));
  ASSERT_TRUE(controls_.messages.empty()) << controls_.messages[0];
  ASSERT_TRUE(controls_.errors.empty()) << controls_.errors[0];
  EXPECT_EQ(host_.commands.back(),
            "ixo_cli ixo input.tmp --m 3 --eps 0.60:1.90 --reps 999 --sequential 10 "
            "--progress-file " +
                dir_.path() + "progress.tmp --output " + dir_.path() + "pvalues.tmp --format csv");
  EXPECT_EQ(controls_.status, "Calculation done.");
  double smallest = 1;  // the overall p-value is the smallest adjusted one
  for (int row = 1; row <= 2; ++row) {
    const std::string& p_text = controls_.grid[row][3];
    const std::optional<long double> p = ReadNumber(p_text, '.');
    ASSERT_TRUE(p && *p > 0 && *p <= 1 && p_text.size() == 5) << p_text;
    // The verdict comes from the full-precision p-value; away from the bounds
    // its three decimals tell which it must be.
    const double shown = static_cast<double>(*p);
    if (shown >= 0.1005) {
      EXPECT_EQ(controls_.grid[row][2], "do not reject") << p_text;
    }
    if (shown <= 0.0095) {
      EXPECT_EQ(controls_.grid[row][2], "reject at 1%") << p_text;
    }
    EXPECT_FALSE(controls_.grid[row][2].empty());
    smallest = std::min(smallest, shown);
  }
  if (smallest >= 0.0505) {
    EXPECT_EQ(controls_.verdict_line, kFamilyNotRejected) << smallest;
  }
  if (smallest <= 0.0495) {
    EXPECT_EQ(controls_.verdict_line, kFamilyRejected) << smallest;
  }
  EXPECT_FALSE(controls_.verdict_line.empty());
  EXPECT_FALSE(dir_.Exists("pvalues.tmp"));
  EXPECT_FALSE(dir_.Exists("output.tmp"));
  EXPECT_TRUE(NoChildLeft());
}

// Closing the window while ixo_cli computes the p-values stops it at once;
// loading another series does too. The status line has shown its progress.
TEST_F(EngineRunTest, ClosingOrLoadingDuringThePValueStepLeavesNoIxoCli) {
  std::filesystem::create_symlink(IXO_CLI_PATH, dir_.path() + "ixo_cli");
  dir_.Write("input.tmp", SmallSeries(4000));
  controls_.size_class = kPermutationClass;
  controls_.max_dimension_index = 0;
  for (const bool close : {true, false}) {
    controller_.Button1Click();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (controller_.Running() && controls_.status.find(" %]") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      controller_.Timer1Timer();
    }
    ASSERT_TRUE(controller_.Running()) << "ixo_cli ended before it could be stopped";
    ASSERT_EQ(controller_.RunState(), kPermutationPass);
    EXPECT_EQ(controls_.status.rfind(kBusy + " [p-values ", 0), 0u) << controls_.status;
    const int pid = host_.EnginePid();
    ASSERT_GT(pid, 0);
    if (close) {
      controller_.FormClose();
    } else {
      controller_.BeforeLoad();
    }
    EXPECT_FALSE(controller_.Running());
    errno = 0;
    EXPECT_EQ(::kill(pid, 0), -1) << "ixo_cli " << pid << " still runs";
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(NoChildLeft());
    EXPECT_FALSE(dir_.Exists("progress.tmp"));
    EXPECT_FALSE(dir_.Exists("pvalues.tmp"));
  }
}
#endif

}  // namespace
}  // namespace ixo

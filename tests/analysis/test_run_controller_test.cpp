#include "analysis/test_run_controller.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/pvalue_table.h"
#include "analysis/run_state.h"
#include "run_fakes.h"

namespace ixo {
namespace {

using testing::FakeControls;
using testing::FakeHost;

const std::string kBusy = "Calculation can take several minutes, please do not interupt.";

class RunControllerTest : public ::testing::Test {
 protected:
  // The engine started last writes `value`; the next tick collects it.
  void Deliver(double value) {
    host_.Finish(value);
    controller_.Timer1Timer();
  }

  FakeControls controls_;
  FakeHost host_;
  TestRunController controller_{controls_, host_, '.'};
};

TEST_F(RunControllerTest, DefaultBasicRunFillsNineRows) {
  controls_.grid[9] = {"old", "old", "old"};
  controller_.Button1Click();
  EXPECT_EQ(controls_.grid[0], (std::vector<std::string>{"m", "Ixo", "significance"}));
  EXPECT_EQ(controls_.grid[9], (std::vector<std::string>{"", "", ""}));
  const double values[] = {1.6, 2.4, 3.2, 4.0, 4.8, 5.6, 6.2, 7.0, 7.5};
  for (int m = 2; m <= 10; ++m) {
    SCOPED_TRACE(m);
    EXPECT_TRUE(controls_.timer);
    EXPECT_EQ(controls_.status, kBusy + " [" + std::to_string(m) + "/10]");
    EXPECT_EQ(host_.commands.back(),
              "ixo_engine input.tmp " + std::to_string(m) + " 0.60 1.90 40 50 1");
    controller_.Timer1Timer();  // nothing there yet: the step waits
    EXPECT_EQ(controller_.RunState(), m - 2);
    EXPECT_EQ(controls_.grid[m - 1][0], "");
    Deliver(values[m - 2]);
    EXPECT_EQ(controls_.grid[m - 1][0], "m=" + std::to_string(m));
  }
  EXPECT_EQ(host_.commands.size(), 9u);
  EXPECT_FALSE(controls_.timer);
  EXPECT_FALSE(controller_.Running());
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_FALSE(host_.output.has_value());
  EXPECT_EQ(host_.log.back(), "delete /opt/ixo/output.tmp");
  EXPECT_EQ(controls_.grid[1], (std::vector<std::string>{"m=2", "1.6", "do not reject"}));
  EXPECT_EQ(controls_.grid[3][1], "3.2");
  // The whole table is selected, so that the first copy takes all of it.
  EXPECT_EQ(controls_.selected_rows, (std::pair{1, 9}));
  EXPECT_TRUE(controls_.messages.empty());
  EXPECT_TRUE(controls_.errors.empty());
  EXPECT_EQ(host_.engines_killed, 0);
}

TEST_F(RunControllerTest, StaleResultIsDeletedBeforeTheFirstStart) {
  host_.output = ResultFileText{true, "9.999\n", ""};
  controller_.Button1Click();
  const std::vector<std::string> expected = {"cd /opt/ixo/", "stop", "stop",
                                             "delete /opt/ixo/output.tmp",
                                             "start ixo_engine input.tmp 2 0.60 1.90 40 50 1"};
  EXPECT_EQ(host_.log, expected);
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.grid[1][1], "");
  EXPECT_TRUE(controller_.Running());
}

TEST_F(RunControllerTest, NoInputFileOnlyShowsTheMessage) {
  host_.input_present = false;
  controls_.grid[1] = {"m=2", "1.6", "do not reject"};
  controller_.Button1Click();
  controls_.edits[EditId::kEdit7] = "abc";  // the input check comes first
  controller_.SpeedButton3Click();
  EXPECT_EQ(controls_.messages, (std::vector<std::string>{"Please, load an input file first.",
                                                          "Please, load an input file first."}));
  EXPECT_TRUE(controls_.errors.empty());
  EXPECT_EQ(controls_.grid[1][1], "1.6");
  EXPECT_EQ(controls_.grid[0][0], "");
  EXPECT_TRUE(host_.commands.empty());
  EXPECT_FALSE(controls_.timer);
}

TEST_F(RunControllerTest, DirectoryThatCannotBeEnteredStopsTheStart) {
  host_.change_directory_error = "Permission denied";
  controller_.Button1Click();
  ASSERT_EQ(controls_.errors.size(), 1u);
  EXPECT_NE(controls_.errors[0].find("Permission denied"), std::string::npos);
  EXPECT_TRUE(host_.commands.empty());
}

TEST_F(RunControllerTest, MaximumTwoRunsOneStep) {
  controls_.max_dimension_index = 0;
  controller_.Button1Click();
  EXPECT_EQ(controls_.status, kBusy + " [2/2]");
  Deliver(1.0);
  EXPECT_EQ(host_.commands.size(), 1u);
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_EQ(controls_.grid[1], (std::vector<std::string>{"m=2", "1", "reject at 1%"}));
  EXPECT_FALSE(controller_.Running());
}

TEST_F(RunControllerTest, ListsAreReadAfreshAtEveryStep) {
  controller_.Button1Click();
  controls_.eps_range = 3;
  controls_.size_class = 2;
  Deliver(1.75);  // judged with range 3, class 2: 1.750 is its 0.5th percentile
  EXPECT_EQ(controls_.grid[1][2], "reject at 2%");
  EXPECT_EQ(host_.commands.back(), "ixo_engine input.tmp 3 0.25 2.00 40 50 1");
  controls_.max_dimension_index = 5;
  Deliver(2.6);
  EXPECT_EQ(controls_.status, kBusy + " [4/7]");
}

TEST_F(RunControllerTest, MaximumLoweredBelowTheReachedDimensionEndsTheRun) {
  controller_.Button1Click();
  Deliver(1.6);
  Deliver(2.4);
  Deliver(3.2);                       // dimension 5 is now running
  controls_.max_dimension_index = 1;  // maximum 3, already passed
  Deliver(3.9);
  EXPECT_EQ(controls_.grid[4][0], "m=5");
  EXPECT_EQ(controls_.selected_rows, (std::pair{1, 4}));
  EXPECT_EQ(host_.commands.size(), 4u);
  EXPECT_FALSE(controller_.Running());
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_FALSE(host_.output.has_value());
}

TEST_F(RunControllerTest, ValuesAreShownInGeneralNumberText) {
  struct Case {
    double value;
    char separator;
    std::string text;
  };
  const Case cases[] = {{1.0, '.', "1"},
                        {0.5, '.', "0.5"},
                        {0.0, '.', "0"},
                        {1.5, ',', "1,5"},
                        {12.345, ',', "12,345"}};
  for (const Case& c : cases) {
    FakeControls controls;
    FakeHost host;
    TestRunController controller(controls, host, c.separator);
    controls.max_dimension_index = 0;
    controller.Button1Click();
    host.Finish(c.value);
    controller.Timer1Timer();
    EXPECT_EQ(controls.grid[1][1], c.text) << c.value << " with '" << c.separator << "'";
  }
}

TEST_F(RunControllerTest, ResultThatIsNotANumberStopsTheRun) {
  controller_.Button1Click();
  Deliver(1.6);
  host_.output = ResultFileText{true, "abc\n", ""};
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.errors, std::vector<std::string>{"Invalid numeric input"});
  EXPECT_FALSE(controls_.timer);
  EXPECT_EQ(controls_.status, "Calculation stopped.");
  EXPECT_EQ(controls_.grid[2][1], "");
  EXPECT_EQ(controller_.RunState(), 1);
  controller_.Timer1Timer();  // a stray tick after the stop does nothing
  EXPECT_EQ(controls_.errors.size(), 1u);
  EXPECT_EQ(host_.commands.size(), 2u);
}

TEST_F(RunControllerTest, EngineThatCannotStartIsReportedAndNothingPolls) {
  host_.start_error = "/opt/ixo/ixo_engine: No such file or directory";
  controller_.Button1Click();
  ASSERT_EQ(controls_.messages.size(), 1u);
  EXPECT_NE(controls_.messages[0].find("ixo_engine"), std::string::npos);
  EXPECT_NE(controls_.messages[0].find("No such file or directory"), std::string::npos);
  EXPECT_FALSE(controls_.timer);
  EXPECT_FALSE(controller_.Running());
  // After the box the status line claims no run.
  EXPECT_EQ(controls_.status, "Calculation stopped.");
}

TEST_F(RunControllerTest, EngineEndingWithoutResultIsReported) {
  controller_.Button1Click();
  controller_.Timer1Timer();
  host_.Fail("exit status 2", "ixo_engine: cannot open input.tmp: No such file or directory\n");
  controller_.Timer1Timer();
  ASSERT_EQ(controls_.messages.size(), 1u);
  EXPECT_EQ(controls_.messages[0],
            "The engine ixo_engine ended without a result (exit status 2).\n"
            "ixo_engine: cannot open input.tmp: No such file or directory");
  EXPECT_FALSE(controls_.timer);
  EXPECT_EQ(controls_.status, "Calculation stopped.");
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.messages.size(), 1u);
}

TEST_F(RunControllerTest, ResultFoundAfterTheEngineEndedIsTaken) {
  // The engine renames its result into place and exits before the tick looks:
  // the file is read, not taken for a failure.
  controls_.max_dimension_index = 0;
  controller_.Button1Click();
  host_.Finish(1.64);
  host_.engine.how = "exit status 3";
  controller_.Timer1Timer();
  EXPECT_TRUE(controls_.messages.empty());
  EXPECT_EQ(controls_.grid[1][1], "1.64");
}

TEST_F(RunControllerTest, ResultWrittenJustBeforeTheEngineEndsIsNotMissed) {
  // Between a look for the file and a look at the process the engine may
  // finish: the file must be looked for after the end has been seen.
  controls_.max_dimension_index = 0;
  controller_.Button1Click();
  host_.finish_when_polled = 1.64;
  controller_.Timer1Timer();
  EXPECT_TRUE(controls_.messages.empty());
  EXPECT_EQ(controls_.grid[1][1], "1.64");
}

TEST_F(RunControllerTest, StaleResultThatCannotBeRemovedIsNeverRead) {
  host_.output = ResultFileText{true, "9\n", ""};
  host_.delete_error = "Is a directory";
  controller_.Button1Click();
  ASSERT_EQ(controls_.messages.size(), 1u);
  EXPECT_NE(controls_.messages[0].find("Is a directory"), std::string::npos);
  EXPECT_TRUE(host_.commands.empty());
  EXPECT_EQ(controls_.status, "Calculation stopped.");
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.grid[1][1], "");
}

TEST_F(RunControllerTest, StartDuringARunStopsTheEarlierEngineFirst) {
  controller_.Button1Click();
  Deliver(1.6);
  Deliver(2.4);  // dimension 4 is running
  host_.log.clear();
  controls_.eps_range = 1;
  controller_.Button1Click();
  const std::vector<std::string> expected = {"cd /opt/ixo/", "stop", "stop",
                                             "delete /opt/ixo/output.tmp",
                                             "start ixo_engine input.tmp 2 0.25 1.00 40 50 1"};
  EXPECT_EQ(host_.log, expected);
  EXPECT_EQ(host_.engines_killed, 1);
  EXPECT_EQ(controller_.RunState(), 0);
  EXPECT_EQ(controls_.grid[2][1], "");
  EXPECT_EQ(controls_.status, kBusy + " [2/10]");

  controller_.SpeedButton3Click();  // an advanced start stops the basic run the same way
  EXPECT_EQ(host_.engines_killed, 2);
  EXPECT_EQ(controller_.RunState(), -2);
  Deliver(1.61);
  EXPECT_EQ(controls_.memo.back(), " Ixo = 1.61");
  EXPECT_EQ(controls_.grid[1][1], "");
}

TEST_F(RunControllerTest, LoadDuringARunStopsItAndANewSeriesEmptiesTheGrid) {
  controller_.Button1Click();
  Deliver(1.6);  // dimension 3 is running
  controller_.BeforeLoad();
  EXPECT_EQ(host_.engines_killed, 1);
  EXPECT_FALSE(controller_.Running());
  EXPECT_EQ(controls_.status, "Calculation stopped.");
  controller_.Timer1Timer();  // a tick still queued takes nothing of the earlier series
  host_.Finish(2.4);
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.grid[2][1], "");
  controller_.SeriesLoaded();
  EXPECT_EQ(controls_.grid[1], (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(controls_.grid[0][1], "Ixo");

  // The advanced run likewise, and without a run a load changes no status.
  controller_.SpeedButton3Click();
  controller_.BeforeLoad();
  EXPECT_EQ(host_.engines_killed, 2);
  host_.Finish(1.61);
  controller_.Timer1Timer();
  EXPECT_TRUE(controls_.memo.empty());
  controls_.status = "Calculation done.";
  controller_.BeforeLoad();
  EXPECT_EQ(controls_.status, "Calculation done.");
}

TEST_F(RunControllerTest, RefusedStartKeepsTheRunningRun) {
  controller_.Button1Click();
  controls_.edits[EditId::kEdit7] = "17";
  controller_.SpeedButton3Click();
  EXPECT_EQ(host_.engines_killed, 0);
  EXPECT_TRUE(controller_.Running());
  EXPECT_EQ(controller_.RunState(), 0);
}

TEST_F(RunControllerTest, ClosingDuringARunLeavesTheEngineRunning) {
  controller_.Button1Click();
  Deliver(1.6);  // dimension 3 is running
  host_.log.clear();
  controller_.FormClose();
  EXPECT_EQ(host_.log, (std::vector<std::string>{"detach"}));
  EXPECT_EQ(host_.engines_detached, 1);
  EXPECT_EQ(host_.engines_killed, 0);
  EXPECT_FALSE(controls_.timer);
  EXPECT_FALSE(controller_.Running());
  controller_.Timer1Timer();  // a tick still queued finds no run to poll
  EXPECT_TRUE(controls_.messages.empty());
  EXPECT_TRUE(controls_.errors.empty());
  EXPECT_EQ(host_.log, (std::vector<std::string>{"detach"}));
}

// The permutation test, ComboBox3's fourth item.

const std::string kPValuesHeader = "file,n,m,ixo,points,class,verdict,p_value\n";

TEST_F(RunControllerTest, PermutationRunEndsWithThePValueStep) {
  controls_.size_class = kPermutationClass;
  controls_.max_dimension_index = 2;  // dimensions 2 to 4
  controller_.Button1Click();
  EXPECT_EQ(controls_.grid[0], (std::vector<std::string>{"m", "Ixo", "significance", "p-value"}));
  Deliver(1.6);
  Deliver(2.4);
  EXPECT_EQ(controls_.grid[2], (std::vector<std::string>{"m=3", "2.4", "", ""}));
  Deliver(3.2);
  // Every dimension has its Ixo value; ixo_cli now computes the p-values.
  EXPECT_EQ(host_.arguments.back(),
            (std::vector<std::string>{"ixo_cli", "ixo", "input.tmp", "--m", "4", "--eps",
                                      "0.60:1.90", "--reps", "999", "--sequential", "10",
                                      "--progress-file", "/opt/ixo/progress.tmp", "--output",
                                      "/opt/ixo/pvalues.tmp", "--format", "csv"}));
  EXPECT_EQ(host_.log.back(), "start " + host_.commands.back());
  EXPECT_EQ(host_.log[host_.log.size() - 2], "delete /opt/ixo/pvalues.tmp");
  EXPECT_EQ(controller_.RunState(), kPermutationPass);
  EXPECT_EQ(controls_.status, kBusy + " [p-values]");
  for (int tick = 0; tick < 40; ++tick) controller_.Timer1Timer();
  EXPECT_EQ(controls_.status, kBusy + " [p-values, 2 s]");
  EXPECT_TRUE(controller_.Running());

  host_.pvalues = kPValuesHeader + "input.tmp,500,2,1.6,41,1000,x,0.0049\n" +
                  "input.tmp,500,3,2.4,41,1000,x,0.03\n" + "input.tmp,500,4,3.2,41,1000,x,0.5\n";
  controller_.Timer1Timer();
  EXPECT_FALSE(controller_.Running());
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_EQ(controls_.grid[1], (std::vector<std::string>{"m=2", "1.6", "reject at 1%", "0.005"}));
  EXPECT_EQ(controls_.grid[2][2], "reject at 5%");
  EXPECT_EQ(controls_.grid[3], (std::vector<std::string>{"m=4", "3.2", "do not reject", "0.500"}));
  EXPECT_EQ(controls_.selected_rows, (std::pair{1, 3}));
  EXPECT_FALSE(host_.pvalues.has_value());
  EXPECT_TRUE(controls_.messages.empty() && controls_.errors.empty());
  EXPECT_TRUE(controls_.hints.empty());  // the permutation test holds at any n

  // Back to a class: three columns, verdicts from the tables, no further step.
  controls_.size_class = 0;
  controller_.Button1Click();
  EXPECT_EQ(controls_.grid[0], (std::vector<std::string>{"m", "Ixo", "significance"}));
  Deliver(1.6);
  Deliver(2.4);
  Deliver(3.2);
  EXPECT_FALSE(controller_.Running());
  EXPECT_EQ(host_.commands.back(), "ixo_engine input.tmp 4 0.60 1.90 40 50 1");
}

// ixo_cli as it writes today: p_adjusted beside each p-value and a row "all"
// for the overall test. The grid shows the adjusted values and the line under
// it the overall verdict at 5 %; a run on a tabulated class leaves it blank.
TEST_F(RunControllerTest, PValueStepShowsAdjustedValuesAndTheOverallVerdict) {
  const std::string header = "file,n,m,ixo,points,class,verdict,p_value,p_adjusted\n";
  const struct {
    std::string overall;  // the row "all"'s p-value, also m = 2's adjusted one
    std::string cell, verdict, line;
  } cases[] = {
      {"0.004", "0.004", "reject at 1%", kFamilyRejected},
      {"0.0499", "0.050", "reject at 5%", kFamilyRejected},
      {"0.05", "0.050", "reject at 10%", kFamilyNotRejected},
      {"0.8", "0.800", "do not reject", kFamilyNotRejected},
  };
  controls_.max_dimension_index = 1;  // dimensions 2 and 3
  for (const auto& c : cases) {
    controls_.size_class = kPermutationClass;
    controller_.Button1Click();
    Deliver(1.6);
    Deliver(2.4);
    EXPECT_EQ(controls_.verdict_line, "") << c.overall;
    host_.pvalues = header + "input.tmp,500,2,1.6,41,500,x,0.002," + c.overall + "\n" +
                    "input.tmp,500,3,2.4,41,500,x,0.03,0.061\n" + "input.tmp,500,all,,,,x," +
                    c.overall + "," + c.overall + "\n";
    controller_.Timer1Timer();
    EXPECT_EQ(controls_.status, "Calculation done.") << c.overall;
    EXPECT_EQ(controls_.grid[1], (std::vector<std::string>{"m=2", "1.6", c.verdict, c.cell}))
        << c.overall;
    EXPECT_EQ(controls_.grid[2], (std::vector<std::string>{"m=3", "2.4", "reject at 10%", "0.061"}))
        << c.overall;
    EXPECT_EQ(controls_.verdict_line, c.line) << c.overall;
    EXPECT_EQ(controls_.selected_rows, (std::pair{1, 2})) << c.overall;

    // A tabulated class afterwards: the line is gone with the p-values.
    controls_.size_class = 0;
    controller_.Button1Click();
    EXPECT_EQ(controls_.verdict_line, "") << c.overall;
    Deliver(1.6);
    Deliver(2.4);
    EXPECT_EQ(controls_.verdict_line, "") << c.overall;
  }
  // A series loaded after a permutation run takes the line with the grid's rows.
  controls_.size_class = kPermutationClass;
  controller_.Button1Click();
  Deliver(1.6);
  Deliver(2.4);
  host_.pvalues = header + "input.tmp,500,2,1.6,41,500,x,0.002,0.004\n" +
                  "input.tmp,500,all,,,,x,0.004,0.004\n";
  controller_.Timer1Timer();
  ASSERT_EQ(controls_.verdict_line, kFamilyRejected);
  controller_.SeriesLoaded();
  EXPECT_EQ(controls_.verdict_line, "");
}

TEST_F(RunControllerTest, PValueStepShowsHowFarIxoCliHasCome) {
  controls_.size_class = kPermutationClass;
  controls_.max_dimension_index = 0;
  host_.progress = "progress 999 999\n";  // left by an earlier run
  controller_.Button1Click();
  Deliver(1.6);
  EXPECT_FALSE(host_.progress.has_value());
  EXPECT_EQ(controls_.status, kBusy + " [p-values]");
  host_.progress = "progress 0 999\nprogress 370 999\nprogress 38";
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.status, kBusy + " [p-values 37 %]");
  const size_t shown = controls_.status_history.size();
  for (int tick = 0; tick < 40; ++tick) controller_.Timer1Timer();
  EXPECT_EQ(controls_.status_history.size(), shown);  // no seconds once the percent is known
  host_.progress = "stage 2\n";                       // no progress line: the last one seen stays
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.status, kBusy + " [p-values 37 %]");
  host_.progress = "progress 999 999\n";
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.status, kBusy + " [p-values 100 %]");
  host_.pvalues = kPValuesHeader + "input.tmp,500,2,1.6,41,1000,x,0.5\n";
  controller_.Timer1Timer();
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_FALSE(host_.progress.has_value());
}

// ixo_cli computes for the window alone: closing it or loading another series
// stops it (an engine step is left to finish on close, see above).
TEST_F(RunControllerTest, ClosingOrLoadingStopsIxoCli) {
  controls_.size_class = kPermutationClass;
  controls_.max_dimension_index = 0;
  for (const bool close : {true, false}) {
    controller_.Button1Click();
    Deliver(1.6);
    ASSERT_EQ(controller_.RunState(), kPermutationPass);
    host_.progress = "progress 10 999\n";
    controller_.Timer1Timer();
    const int killed = host_.engines_killed;
    host_.log.clear();
    if (close) {
      controller_.FormClose();
    } else {
      controller_.BeforeLoad();
    }
    EXPECT_EQ(host_.engines_killed, killed + 1) << close;
    EXPECT_EQ(host_.engines_detached, 0) << close;
    EXPECT_EQ(host_.log, (std::vector<std::string>{"stop", "delete /opt/ixo/progress.tmp"}))
        << close;
    EXPECT_FALSE(controller_.Running());
  }
  // The curves likewise.
  controller_.Button1Click();
  Deliver(1.6);
  host_.pvalues = kPValuesHeader + "input.tmp,500,2,1.6,41,1000,x,0.5\n";
  controller_.Timer1Timer();
  controller_.ShowCorrelationIntegrals1Click();
  ASSERT_EQ(controller_.RunState(), kCurvesRun);
  host_.log.clear();
  controller_.FormClose();
  EXPECT_EQ(host_.log, (std::vector<std::string>{"stop"}));
  EXPECT_EQ(host_.engines_detached, 0);
}

TEST_F(RunControllerTest, FailedPValueStepIsReportedLikeAFailedEngine) {
  controls_.size_class = kPermutationClass;
  controls_.max_dimension_index = 0;
  const struct {
    std::optional<std::string> pvalues;
    std::string message, error;
  } cases[] = {
      {std::nullopt,
       "The program ixo_cli ended without a result (exit status 1).\n"
       "ixo_cli: input.tmp: line 3: 'x' is no number",
       ""},
      {kPValuesHeader + "input.tmp,500,2,1.6,41,1000,x,\n", "",
       "The p-values of ixo_cli cannot be read: line 2 has no p-value from 0 to 1"},
  };
  for (const auto& c : cases) {
    controls_.messages.clear();
    controls_.errors.clear();
    controller_.Button1Click();
    Deliver(1.6);
    if (c.pvalues) {
      host_.pvalues = c.pvalues;
    } else {
      host_.Fail("exit status 1", "ixo_cli: input.tmp: line 3: 'x' is no number\n");
    }
    controller_.Timer1Timer();
    EXPECT_FALSE(controller_.Running());
    EXPECT_EQ(controls_.status, "Calculation stopped.");
    EXPECT_EQ(controls_.messages,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(controls_.errors,
              c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
    EXPECT_EQ(controls_.grid[1][2], "");
  }
}

// The curves of a finished run, fetched by ixo_cli on request.
TEST_F(RunControllerTest, CurvesOfTheFinishedRun) {
  const std::string curves =
      "m,k,eps,x,pairs,y,used\n2,0,0.5,-1,100,4.6,1\n2,1,1,0,300,5.7,1\n\n"
      "m,slope,intercept,points\n2,1.1,5.7,2\n";
  controller_.ShowCorrelationIntegrals1Click();  // no run has finished
  EXPECT_TRUE(host_.commands.empty());
  controls_.eps_range = 2;
  controls_.max_dimension_index = 0;
  controller_.Button1Click();
  Deliver(1.6);
  EXPECT_TRUE(controls_.curves_enabled);
  controls_.eps_range = 0;  // the curves are those of the run, not of the lists now
  controller_.ShowCorrelationIntegrals1Click();
  EXPECT_EQ(
      host_.arguments.back(),
      (std::vector<std::string>{"ixo_cli", "curves", "input.tmp", "--m", "2", "--eps", "0.50:1.50",
                                "--output", "/opt/ixo/curves.tmp", "--format", "csv"}));
  EXPECT_EQ(controller_.RunState(), kCurvesRun);
  EXPECT_EQ(controls_.status, kBusy);
  for (int tick = 0; tick < 40; ++tick) controller_.Timer1Timer();
  EXPECT_EQ(controls_.status_history.back(), kBusy);  // no seconds counted here
  host_.curves = curves;
  controller_.Timer1Timer();
  EXPECT_FALSE(controller_.Running());
  EXPECT_EQ(controls_.status, "Calculation done.");
  ASSERT_EQ(controls_.curves_shown.size(), 1u);
  EXPECT_EQ(controls_.curves_shown[0].fits.size(), 1u);
  EXPECT_FALSE(host_.curves.has_value());
  EXPECT_TRUE(controls_.messages.empty() && controls_.errors.empty());
}

TEST_F(RunControllerTest, FailedCurvesAreReportedAndShowNothing) {
  const struct {
    std::optional<std::string> curves;
    std::string text_error, message, error;
  } cases[] = {
      {std::nullopt, "",
       "The program ixo_cli ended without a result (killed by signal 9).\nout of memory", ""},
      {"m,k,eps,x,pairs,y,used\n", "", "", "curves.tmp, line 2: no grid point"},
      {"m,k", "Input/output error", "", "Input/output error"},
  };
  controls_.max_dimension_index = 0;
  controller_.Button1Click();
  Deliver(1.6);
  for (const auto& c : cases) {
    controls_.messages.clear();
    controls_.errors.clear();
    controller_.ShowCorrelationIntegrals1Click();
    host_.text_error = c.text_error;
    if (c.curves) {
      host_.curves = c.curves;
    } else {
      host_.Fail("killed by signal 9", "out of memory\n");
    }
    controller_.Timer1Timer();
    EXPECT_FALSE(controller_.Running()) << c.message << c.error;
    EXPECT_EQ(controls_.status, "Calculation stopped.");
    EXPECT_EQ(controls_.messages,
              c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(controls_.errors,
              c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
    EXPECT_TRUE(controls_.curves_shown.empty());
    host_.curves.reset();
  }
}

TEST_F(RunControllerTest, ClassFarFromTheSeriesLengthHintsAtTheVerdicts) {
  controls_.max_dimension_index = 1;
  for (const auto& [n, hinted] : {std::pair{300, true}, {450, false}}) {
    controls_.observations = n;
    controller_.Button1Click();
    Deliver(1.6);
    Deliver(2.4);
    EXPECT_EQ(controls_.hints.count({2, 1}) + controls_.hints.count({2, 2}), hinted ? 2u : 0u) << n;
    EXPECT_EQ(controls_.grid[1][2], "do not reject") << n;  // the text stays as it is
  }
}

// The advanced tab.

TEST_F(RunControllerTest, AdvancedRunWithInitialSettingsWritesFiveLines) {
  controller_.SpeedButton3Click();
  EXPECT_EQ(host_.commands, std::vector<std::string>{"ixo_engine input.tmp 2 0.60 1.90 40 50 1"});
  EXPECT_EQ(controls_.status, kBusy);
  EXPECT_EQ(controller_.RunState(), -2);
  Deliver(1.639);
  const std::vector<std::string> expected = {"--------------------", " Input filename: series.txt",
                                             " Epsilon range: 0.60 - 1.90",
                                             " Embedding dimension: 2", " Ixo = 1.639"};
  EXPECT_EQ(controls_.memo, expected);
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_FALSE(controller_.Running());
  EXPECT_FALSE(host_.output.has_value());
}

TEST_F(RunControllerTest, AdvancedRunWithBdsRunsASecondPass) {
  controls_.checked[CheckBoxId::kCheckBox1] = true;
  controls_.edits[EditId::kEdit7] = "3";
  controller_.SpeedButton3Click();
  Deliver(2.4);
  EXPECT_EQ(controller_.RunState(), kBdsPass);
  EXPECT_EQ(host_.commands.back(), "ixo_engine input.tmp 3 0.50 1 1 1 2");
  EXPECT_EQ(controls_.status, kBusy);
  EXPECT_TRUE(controller_.Running());
  Deliver(-0.25);
  ASSERT_EQ(controls_.memo.size(), 6u);
  EXPECT_EQ(controls_.memo[5], " BDS = -0.25 (m = 3; epsilon = 0.50)");
  EXPECT_EQ(controls_.status, "Calculation done.");
  EXPECT_FALSE(controller_.Running());
  EXPECT_FALSE(host_.output.has_value());
}

TEST_F(RunControllerTest, BdsBoxUntickedDuringTheBdsPassDropsItsLine) {
  controls_.checked[CheckBoxId::kCheckBox1] = true;
  controller_.SpeedButton3Click();
  Deliver(1.6);
  controls_.checked[CheckBoxId::kCheckBox1] = false;
  Deliver(3.1);
  EXPECT_EQ(controls_.memo.size(), 5u);
  EXPECT_FALSE(controller_.Running());
}

TEST_F(RunControllerTest, OptionalLinesFollowTheirBoxesNotTheFields) {
  controls_.checked[CheckBoxId::kCheckBox3] = true;
  controls_.edits[EditId::kEdit5] = "20";
  controller_.CheckBox3Click();
  EXPECT_TRUE(controls_.enabled_edits[EditId::kEdit5]);
  controller_.SpeedButton3Click();
  Deliver(1.6);
  EXPECT_EQ(controls_.memo[4], " Number of intervals: 20");
  EXPECT_EQ(host_.commands.back(), "ixo_engine input.tmp 2 0.60 1.90 20 50 1");

  controls_.checked[CheckBoxId::kCheckBox3] = false;
  controller_.CheckBox3Click();
  EXPECT_FALSE(controls_.enabled_edits[EditId::kEdit5]);
  controls_.checked[CheckBoxId::kCheckBox2] = true;
  controller_.SpeedButton3Click();
  Deliver(1.6);
  EXPECT_EQ(host_.commands.back(), "ixo_engine input.tmp 2 0.60 1.90 20 50 1");
  ASSERT_EQ(controls_.memo.size(), 12u);  // two blocks, each opened by the hyphen line
  EXPECT_EQ(controls_.memo[6], "--------------------");
  EXPECT_EQ(controls_.memo[10], " Correlation integral constraint: 50");
  controller_.SpeedButton4Click();
  EXPECT_TRUE(controls_.memo.empty());
}

TEST_F(RunControllerTest, CheckBoxesEnableTheirFields) {
  struct Case {
    CheckBoxId box;
    EditId edit;
    void (TestRunController::*click)();
  };
  const Case cases[] = {
      {CheckBoxId::kCheckBox1, EditId::kEdit8, &TestRunController::CheckBox1Click},
      {CheckBoxId::kCheckBox2, EditId::kEdit6, &TestRunController::CheckBox2Click},
      {CheckBoxId::kCheckBox3, EditId::kEdit5, &TestRunController::CheckBox3Click}};
  for (const Case& c : cases) {
    for (bool ticked : {true, false}) {
      controls_.enabled_edits.clear();
      controls_.checked[c.box] = ticked;
      (controller_.*c.click)();
      ASSERT_EQ(controls_.enabled_edits.size(), 1u) << static_cast<int>(c.box);
      EXPECT_EQ(controls_.enabled_edits[c.edit], ticked) << static_cast<int>(c.box);
    }
  }
}

TEST_F(RunControllerTest, RefusedAdvancedFieldsStartNothing) {
  struct Case {
    EditId edit;
    std::string text;
    bool bds;
    std::string expected;  // the whole message; an error box when conversion is set
    bool conversion;
  };
  const Case cases[] = {
      {EditId::kEdit7, "abc", false, "'abc' is not a valid integer value", true},
      {EditId::kEdit7, "2.5", false, "'2.5' is not a valid integer value", true},
      {EditId::kEdit7, "1", false, "Embedding dimension: '1' must be an integer from 2 to 16.",
       false},
      {EditId::kEdit7, "100", false, "Embedding dimension: '100' must be an integer from 2 to 16.",
       false},
      {EditId::kEdit7, "-3", false, "Embedding dimension: '-3' must be an integer from 2 to 16.",
       false},
      {EditId::kEdit2, "0", false, "Epsilon range: '0' is not a positive number.", false},
      {EditId::kEdit4, "1,90", false, "Epsilon range: '1,90' is not a positive number.", false},
      {EditId::kEdit5, "0", false, "Number of intervals: '0' is not an integer of at least 1.",
       false},
      {EditId::kEdit6, "-1", false, "Cm constraint: '-1' is not an integer of at least 0.", false},
      {EditId::kEdit8, "x", true, "Compute BDS for epsilon: 'x' is not a positive number.", false},
  };
  for (const Case& c : cases) {
    FakeControls controls;
    FakeHost host;
    TestRunController controller(controls, host, '.');
    controls.edits[c.edit] = c.text;
    controls.checked[CheckBoxId::kCheckBox1] = c.bds;
    controller.SpeedButton3Click();
    const std::vector<std::string>& shown = c.conversion ? controls.errors : controls.messages;
    const std::vector<std::string>& other = c.conversion ? controls.messages : controls.errors;
    EXPECT_EQ(shown, std::vector<std::string>{c.expected}) << c.text;
    EXPECT_TRUE(other.empty()) << c.text;
    EXPECT_TRUE(host.commands.empty()) << c.text;
    EXPECT_EQ(controller.RunState(), 0) << c.text;
  }
}

TEST_F(RunControllerTest, UncheckedBdsFieldIsNotChecked) {
  controls_.edits[EditId::kEdit8] = "x";
  controller_.SpeedButton3Click();
  EXPECT_TRUE(controls_.messages.empty());
  EXPECT_EQ(host_.commands.size(), 1u);
}

TEST_F(RunControllerTest, AdvancedFieldTextsReachCommandAndReportUnchanged) {
  controls_.edits[EditId::kEdit2] = " .5";
  controls_.edits[EditId::kEdit4] = "1.5e0";
  controls_.edits[EditId::kEdit7] = " 16";
  controls_.edits[EditId::kEdit8] = "+0.7";
  controls_.checked[CheckBoxId::kCheckBox1] = true;
  controller_.SpeedButton3Click();
  // The line is split once at its blanks; each field is one word of it.
  using Words = std::vector<std::string>;
  EXPECT_EQ(host_.arguments.back(),
            (Words{"ixo_engine", "input.tmp", "16", ".5", "1.5e0", "40", "50", "1"}));
  Deliver(11.25);
  EXPECT_EQ(host_.arguments.back(),
            (Words{"ixo_engine", "input.tmp", "16", "+0.7", "1", "1", "1", "2"}));
  Deliver(0.5);
  EXPECT_EQ(controls_.memo[2], " Epsilon range:  .5 - 1.5e0");
  EXPECT_EQ(controls_.memo[3], " Embedding dimension:  16");
  EXPECT_EQ(controls_.memo[5], " BDS = 0.5 (m =  16; epsilon = +0.7)");
}

}  // namespace
}  // namespace ixo

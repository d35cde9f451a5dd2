// The basic and advanced test runs: the engine is started once per result, one
// process at a time, and a 50 ms poll collects each result from output.tmp in
// the program directory. A basic run fills one grid row per dimension from 2
// to the chosen maximum, with a verdict from the critical values; an advanced
// run appends a report block for one dimension and, on request, a BDS line.
// With "permutation" chosen as the set of critical values, a basic run makes
// one more step: ixo_cli writes the permutation p-values of every dimension to
// pvalues.tmp (with the sequential rule, so an i.i.d. series is done early),
// the grid gets them adjusted over all dimensions as a fourth column, with the
// verdicts read from them, and the line under the grid the overall verdict at
// 5 %; the status line shows how far ixo_cli has come.
//
// The controller holds the run state and nothing else; it reads the window's
// controls afresh at every step through RunControls and reaches the system
// through RunHost. The window forwards its button, check-box and timer events
// to the handlers below, which carry the names of the events that fire them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "analysis/cli_progress.h"
#include "analysis/run_controls.h"
#include "analysis/run_host.h"
#include "analysis/run_state.h"

namespace ixo {

inline constexpr const char* kBusyStatus =
    "Calculation can take several minutes, please do not interupt.";
inline constexpr const char* kDoneStatus = "Calculation done.";
// The status line once a run has stopped without finishing (a failure, a load).
inline constexpr const char* kStoppedStatus = "Calculation stopped.";
inline constexpr const char* kNoInputMessage = "Please, load an input file first.";

class TestRunController {
 public:
  // `controls` and `host` must outlive the controller. Numbers shown in the
  // grid and the report use `decimal_separator`.
  TestRunController(RunControls& controls, RunHost& host, char decimal_separator);

  // "Run the test" on the basic tab: empties the grid, writes its header and
  // starts dimension 2. Without input.tmp only the message box is shown.
  // A run still in progress is stopped first.
  void Button1Click();
  // "Run the test" on the advanced tab: checks the fields, then starts the Ixo
  // pass for the dimension of Edit7. A refused start changes nothing.
  void SpeedButton3Click();
  // "Clear window": empties the report, also during a run.
  void SpeedButton4Click();
  // Each check box enables its field: CheckBox1 Edit8, CheckBox2 Edit6, CheckBox3 Edit5.
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox3Click();

  // Starts the engine step that RunState names: deletes output.tmp, shows the
  // status text, starts the engine and enables the timer. When the engine
  // cannot be started, or a stale output.tmp cannot be removed, says so and
  // leaves the timer off.
  void LaunchEngine();
  // One tick of the poll: nothing while output.tmp is not there and the engine
  // runs; otherwise records the result and starts the next step or ends the
  // run, or, when the engine ended without a result, stops and says why.
  void Timer1Timer();

  // A data file is about to be loaded (SpeedButton1Click, once a file is
  // chosen): a run in progress is stopped first, so that no result computed
  // from the earlier series reaches the table or report beside the new one's,
  // and the status line says kStoppedStatus. Nothing happens without a run.
  void BeforeLoad();
  // The load took a new series into the list: the results grid's rows are
  // emptied, as they belong to the earlier series (the header row stays), and
  // the curves of the last run are no longer to be had.
  void SeriesLoaded();
  // "Show correlation integrals" in the grid's context menu, enabled from the
  // end of a basic run until the next basic run starts or another series is
  // loaded: runs ixo_cli curves on input.tmp with that run's range and maximum
  // dimension, through the same start and poll as the engine, and shows the
  // curves it writes to curves.tmp. A run still in progress is stopped first.
  // A failure is reported as an engine's is. Nothing happens before a basic
  // run has finished.
  void ShowCorrelationIntegrals1Click();

  // The window closes: the poll stops, and an engine still computing is left
  // to finish by itself (see RunHost::DetachEngine); ixo_cli, which computes
  // for the window alone, is stopped and its progress file removed.
  void FormClose();

  // The step the next result belongs to (see run_state.h).
  int RunState() const { return run_state_; }
  // True while a result is awaited (the timer is enabled).
  bool Running() const { return timer_enabled_; }

 private:
  // The first steps of both starts: makes the program directory current and
  // checks that input.tmp is there. False, after saying why, when the run
  // cannot start.
  bool EnterProgramDirectoryWithInput();
  void SetTimer(bool enabled);
  // Stops an engine still running from an earlier start and the poll with it.
  void StopRun();
  // A step that runs ixo_cli after the engine's steps and hands its result
  // over in an exchange file longer than output.tmp: the p-value step of a
  // permutation run and the curves. Each is described once, in FollowUp(); the
  // start, the poll and the messages follow the description.
  struct FollowUpStep {
    int run_state;         // the run state that names the step
    const char* program;   // the program it starts
    const char* file;      // the exchange file it writes, in the program directory
    size_t max_bytes;      // the most of that file the poll reads
    const char* progress;  // the progress file it keeps (see cli_progress.h), or nullptr
    std::vector<std::string> (TestRunController::*arguments)() const;
    // The status line while it runs; read at every tick, shown when it changes.
    std::string (TestRunController::*status)() const;
    // Takes the file's text once it is there and the program has been collected.
    void (TestRunController::*complete)(const std::string& text);
  };
  // The follow-up step run_state_ names; nullptr for the engine's steps.
  const FollowUpStep* FollowUp() const;
  std::string OutputPath();
  // Deletes the step's result file and its progress file (see DeleteProgress).
  void DeleteOutput();
  // Deletes the progress file of the step run_state_ names, if it keeps one;
  // a failure is of no concern, as the next start deletes it again.
  void DeleteProgress();
  // The words of the program the step starts: the engine's line split once,
  // or ixo_cli's arguments for a follow-up step.
  std::vector<std::string> Arguments();
  // ixo_engine, or ixo_cli for the follow-up steps.
  std::string ProgramName() const;
  // How a message names what the step runs: "The engine ixo_engine", "The program ixo_cli".
  std::string ProgramPhrase() const;
  // True when the basic run started with "permutation" chosen in ComboBox3.
  bool PermutationRun() const { return grid_columns_ == 4; }
  // One tick of a follow-up step's poll of its file.
  void PollFollowUp(const FollowUpStep& step, const EngineStatus& status);
  std::string StatusText();
  void CompleteBasicStep(double value);
  void CompleteIxoPass(double value);
  void CompleteBdsPass(double value);
  // The follow-up steps' own parts (see FollowUpStep).
  std::vector<std::string> PValueArguments() const;
  std::string PValueStatus() const;
  void CompletePValues(const std::string& text);
  std::vector<std::string> CurvesArguments() const;
  std::string CurvesStatus() const;
  void CompleteCurves(const std::string& text);
  void ReportEngineEnded(const EngineStatus& status);
  // The step's program ended without its result file: the run stops, the
  // process is collected, and the box says how it ended.
  void StopWithoutResult(const EngineStatus& status);
  // A step failed: the poll is off and the status line stops claiming a run.
  void StopAfterFailure();
  void ClearGridRows();
  void SetCurvesRun(std::optional<int> m, int eps_range);

  RunControls& controls_;
  RunHost& host_;
  char decimal_separator_;
  int run_state_ = 0;
  bool timer_enabled_ = false;
  int grid_columns_ = 3;                 // 4 with the p-value column
  int permutation_dimension_ = 2;        // the largest dimension of the p-value step
  int pass_ticks_ = 0;                   // ticks of the step that runs now
  std::string waiting_status_;           // the status line shown while the step runs
  std::optional<CliProgress> progress_;  // the last progress the step's program wrote
  // The maximum dimension and range index of the last finished basic run.
  std::optional<int> curves_m_;
  int curves_eps_range_ = 0;
};

}  // namespace ixo

#include "analysis/test_run_controller.h"

#include <map>

#include "analysis/advanced_fields.h"
#include "analysis/advanced_report.h"
#include "analysis/cli_command.h"
#include "analysis/curves_csv.h"
#include "analysis/engine_command.h"
#include "analysis/exchange_files.h"
#include "analysis/number_text.h"
#include "analysis/pvalue_table.h"
#include "analysis/result_text.h"
#include "analysis/run_state.h"
#include "tables/critical_values.h"

namespace ixo {

namespace {

constexpr int kGridDataRows = 9;
constexpr int kGridColumns = 3;
constexpr int kGridColumnsWithPValues = 4;
// Timer1's ticks per second of the p-value step, for its status line.
constexpr int kTicksPerSecond = 20;
// Standard error can be long (a usage text, a run of warnings); the box shows its start.
constexpr size_t kMaxErrorTextShown = 2000;
// Far more than the curves of 15 dimensions on the window's 41-point grids.
constexpr size_t kMaxCurvesBytes = size_t{1} << 24;
// Far more than the p-values of nine dimensions.
constexpr size_t kMaxTableBytes = size_t{1} << 20;
// Far more than the 102 lines of at most 40 bytes that a p-value step writes.
constexpr size_t kMaxProgressBytes = size_t{1} << 16;

std::string TrimmedEnd(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

}  // namespace

TestRunController::TestRunController(RunControls& controls, RunHost& host, char decimal_separator)
    : controls_(controls), host_(host), decimal_separator_(decimal_separator) {}

void TestRunController::Button1Click() {
  if (!EnterProgramDirectoryWithInput()) return;
  StopRun();
  ClearGridRows();
  SetCurvesRun(std::nullopt, 0);
  // The choice of the permutation test is taken here for the whole run: it
  // decides the grid's fourth column and the p-value step at its end.
  grid_columns_ =
      controls_.SizeClassIndex() == kPermutationClass ? kGridColumnsWithPValues : kGridColumns;
  controls_.SetGridColumnCount(grid_columns_);
  controls_.SetGridCell(0, 0, "m");
  controls_.SetGridCell(1, 0, "Ixo");
  controls_.SetGridCell(2, 0, "significance");
  if (PermutationRun()) controls_.SetGridCell(3, 0, "p-value");
  run_state_ = 0;
  LaunchEngine();
}

void TestRunController::SpeedButton3Click() {
  if (!EnterProgramDirectoryWithInput()) return;
  const DimensionCheck dimension = CheckDimensionText(controls_.EditText(EditId::kEdit7));
  if (!dimension.m) {
    if (dimension.conversion) {
      controls_.ShowError(dimension.message);
    } else {
      controls_.ShowMessage(dimension.message);
    }
    return;
  }
  AdvancedFieldTexts fields;
  fields.eps_low = controls_.EditText(EditId::kEdit2);
  fields.eps_high = controls_.EditText(EditId::kEdit4);
  fields.intervals = controls_.EditText(EditId::kEdit5);
  fields.constraint = controls_.EditText(EditId::kEdit6);
  fields.dimension = controls_.EditText(EditId::kEdit7);
  fields.bds_eps = controls_.EditText(EditId::kEdit8);
  if (std::optional<std::string> message =
          CheckAdvancedFields(fields, controls_.Checked(CheckBoxId::kCheckBox1))) {
    controls_.ShowMessage(*message);
    return;
  }
  StopRun();
  run_state_ = AdvancedIxoState(*dimension.m);
  LaunchEngine();
}

void TestRunController::ShowCorrelationIntegrals1Click() {
  if (!curves_m_) return;
  if (!EnterProgramDirectoryWithInput()) return;
  StopRun();
  run_state_ = kCurvesRun;
  LaunchEngine();
}

void TestRunController::SpeedButton4Click() {
  controls_.ClearReport();
}

void TestRunController::CheckBox1Click() {
  controls_.SetEditEnabled(EditId::kEdit8, controls_.Checked(CheckBoxId::kCheckBox1));
}

void TestRunController::CheckBox2Click() {
  controls_.SetEditEnabled(EditId::kEdit6, controls_.Checked(CheckBoxId::kCheckBox2));
}

void TestRunController::CheckBox3Click() {
  controls_.SetEditEnabled(EditId::kEdit5, controls_.Checked(CheckBoxId::kCheckBox3));
}

void TestRunController::LaunchEngine() {
  const std::vector<std::string> arguments = Arguments();
  // An engine of an earlier step or run could still write output.tmp after the
  // deletion below and have its value taken for this step's.
  host_.StopEngine();
  DeleteProgress();
  progress_.reset();
  if (FileError error = host_.DeleteFile(OutputPath())) {
    StopAfterFailure();
    controls_.ShowMessage("The old result file " + OutputPath() +
                          " cannot be removed, so the test cannot run: " + *error);
    return;
  }
  pass_ticks_ = 0;
  waiting_status_ = StatusText();
  controls_.SetStatus(waiting_status_);
  controls_.RepaintNow();
  if (FileError error = host_.StartEngine(arguments)) {
    StopAfterFailure();
    controls_.ShowMessage(ProgramPhrase() + " cannot be started: " + *error);
    return;
  }
  SetTimer(true);
}

void TestRunController::Timer1Timer() {
  if (!timer_enabled_) return;
  // Ask about the process before looking for the file: the engine renames
  // output.tmp into place as its last act, so a file missing after the engine
  // was seen to end will never come.
  const EngineStatus status = host_.PollEngine();
  if (const FollowUpStep* step = FollowUp()) {
    PollFollowUp(*step, status);
    return;
  }
  const ResultRead result = ReadResultText(host_.ReadResult(OutputPath()));
  if (result.status == ResultRead::Status::kNotThereYet) {
    if (status.ended) {
      StopWithoutResult(status);
    }
    return;
  }
  SetTimer(false);
  // The result is in place, so the engine has done its work; collect it.
  host_.StopEngine();
  if (result.status == ResultRead::Status::kFailed) {
    StopAfterFailure();
    controls_.ShowError(result.error);
    return;
  }
  controls_.SetStatus(kDoneStatus);
  if (IsBasicStep(run_state_)) {
    CompleteBasicStep(result.value);
  } else if (run_state_ == kBdsPass) {
    CompleteBdsPass(result.value);
  } else {
    CompleteIxoPass(result.value);
  }
}

void TestRunController::BeforeLoad() {
  if (!timer_enabled_) return;
  StopRun();
  controls_.SetStatus(kStoppedStatus);
}

void TestRunController::SeriesLoaded() {
  ClearGridRows();
  SetCurvesRun(std::nullopt, 0);
}

void TestRunController::FormClose() {
  const bool cli_runs = timer_enabled_ && FollowUp() != nullptr;
  SetTimer(false);
  if (!cli_runs) {
    host_.DetachEngine();
    return;
  }
  host_.StopEngine();
  DeleteProgress();
}

bool TestRunController::EnterProgramDirectoryWithInput() {
  const std::string directory = host_.ProgramDirectory();
  if (FileError error = host_.ChangeDirectory(directory)) {
    controls_.ShowError("Cannot make " + directory + " the current directory: " + *error);
    return false;
  }
  if (!host_.FileExists(directory + kInputFileName)) {
    controls_.ShowMessage(kNoInputMessage);
    return false;
  }
  return true;
}

void TestRunController::SetTimer(bool enabled) {
  timer_enabled_ = enabled;
  controls_.SetTimerEnabled(enabled);
}

void TestRunController::StopRun() {
  SetTimer(false);
  host_.StopEngine();
  DeleteProgress();
}

void TestRunController::StopAfterFailure() {
  SetTimer(false);
  DeleteProgress();
  controls_.SetStatus(kStoppedStatus);
}

void TestRunController::ClearGridRows() {
  controls_.SetVerdictLine("");
  for (int row = 1; row <= kGridDataRows; ++row) {
    for (int column = 0; column < grid_columns_; ++column) controls_.SetGridCell(column, row, "");
    controls_.SetGridCellHint(2, row, "");
  }
}

const TestRunController::FollowUpStep* TestRunController::FollowUp() const {
  static constexpr FollowUpStep kSteps[] = {
      {kPermutationPass, kCliName, kPValuesFileName, kMaxTableBytes, kProgressFileName,
       &TestRunController::PValueArguments, &TestRunController::PValueStatus,
       &TestRunController::CompletePValues},
      {kCurvesRun, kCliName, kCurvesFileName, kMaxCurvesBytes, nullptr,
       &TestRunController::CurvesArguments, &TestRunController::CurvesStatus,
       &TestRunController::CompleteCurves},
  };
  for (const FollowUpStep& step : kSteps) {
    if (step.run_state == run_state_) return &step;
  }
  return nullptr;
}

std::string TestRunController::OutputPath() {
  const FollowUpStep* step = FollowUp();
  return host_.ProgramDirectory() + (step ? step->file : kOutputFileName);
}

std::string TestRunController::ProgramName() const {
  const FollowUpStep* step = FollowUp();
  return step ? step->program : kEngineName;
}

std::string TestRunController::ProgramPhrase() const {
  return std::string(FollowUp() ? "The program " : "The engine ") + ProgramName();
}

void TestRunController::PollFollowUp(const FollowUpStep& step, const EngineStatus& status) {
  // As for output.tmp: ixo_cli renames its file into place as its last act.
  const ResultFileText file = host_.ReadText(OutputPath(), step.max_bytes);
  if (!file.present) {
    if (status.ended) {
      StopWithoutResult(status);
      return;
    }
    ++pass_ticks_;
    if (step.progress != nullptr) {
      const ResultFileText lines =
          host_.ReadText(host_.ProgramDirectory() + step.progress, kMaxProgressBytes);
      if (lines.present && lines.error.empty()) {
        if (const std::optional<CliProgress> last = LastProgress(lines.text)) progress_ = last;
      }
    }
    if (std::string text = StatusText(); text != waiting_status_) {
      waiting_status_ = std::move(text);
      controls_.SetStatus(waiting_status_);
    }
    return;
  }
  SetTimer(false);
  host_.StopEngine();
  if (!file.error.empty()) {
    StopAfterFailure();
    controls_.ShowError(file.error);
    return;
  }
  (this->*step.complete)(file.text);
}

std::vector<std::string> TestRunController::PValueArguments() const {
  return ixo::PermutationArguments(permutation_dimension_, controls_.EpsRangeIndex(),
                                   host_.ProgramDirectory());
}

std::string TestRunController::PValueStatus() const {
  // How far ixo_cli has come; the seconds until it says.
  return std::string(kBusyStatus) + " " + PValueStepMark(progress_, pass_ticks_ / kTicksPerSecond);
}

void TestRunController::CompletePValues(const std::string& text) {
  const PValueTable table = ParsePValueTable(text);
  if (table.error) {
    StopAfterFailure();
    controls_.ShowError(*table.error);
    return;
  }
  controls_.SetStatus(kDoneStatus);
  // The grid shows the p-values adjusted over all the dimensions where
  // ixo_cli gives them, so that each row's verdict holds beside the others';
  // the raw ones only from a build that writes no adjusted column.
  const std::map<int, double>& shown = table.adjusted.empty() ? table.p_values : table.adjusted;
  int last_row = 0;
  for (int row = 1; row <= kGridDataRows; ++row) {
    const auto found = shown.find(BasicStepDimension(row - 1));
    if (found == shown.end()) continue;
    controls_.SetGridCell(2, row, PValueVerdict(found->second));
    controls_.SetGridCell(3, row, ThreeDecimalText(found->second, decimal_separator_));
    last_row = row;
  }
  if (table.overall) controls_.SetVerdictLine(FamilyVerdictLine(*table.overall));
  DeleteOutput();
  SetCurvesRun(permutation_dimension_, controls_.EpsRangeIndex());
  controls_.SelectGridRows(1, last_row > 0 ? last_row : 1);
}

std::vector<std::string> TestRunController::CurvesArguments() const {
  return ixo::CurvesArguments(*curves_m_, curves_eps_range_, host_.ProgramDirectory());
}

std::string TestRunController::CurvesStatus() const {
  return kBusyStatus;
}

void TestRunController::CompleteCurves(const std::string& text) {
  DeleteOutput();
  const CurvesParse parsed = ParseCurvesCsv(text);
  if (!parsed.table) {
    StopAfterFailure();
    controls_.ShowError(std::string(kCurvesFileName) + ", " + parsed.error);
    return;
  }
  controls_.SetStatus(kDoneStatus);
  controls_.ShowCurves(*parsed.table);
}

void TestRunController::DeleteOutput() {
  // The result is in the window; a file left behind is deleted before the next start.
  DeleteProgress();
  [[maybe_unused]] const FileError ignored = host_.DeleteFile(OutputPath());
}

void TestRunController::DeleteProgress() {
  const FollowUpStep* step = FollowUp();
  if (step == nullptr || step->progress == nullptr) return;
  [[maybe_unused]] const FileError ignored =
      host_.DeleteFile(host_.ProgramDirectory() + step->progress);
}

std::vector<std::string> TestRunController::Arguments() {
  if (const FollowUpStep* step = FollowUp()) return (this->*step->arguments)();
  std::string line;
  if (IsBasicStep(run_state_)) {
    line = BasicCommandLine(BasicStepDimension(run_state_), controls_.EpsRangeIndex());
  } else if (run_state_ == kBdsPass) {
    line = BdsCommandLine(controls_.EditText(EditId::kEdit7), controls_.EditText(EditId::kEdit8));
  } else {
    line = AdvancedIxoCommandLine(
        -run_state_, controls_.EditText(EditId::kEdit2), controls_.EditText(EditId::kEdit4),
        controls_.EditText(EditId::kEdit5), controls_.EditText(EditId::kEdit6));
  }
  return SplitCommandLine(line);
}

std::string TestRunController::StatusText() {
  if (const FollowUpStep* step = FollowUp()) return (this->*step->status)();
  if (!IsBasicStep(run_state_)) return kBusyStatus;
  return std::string(kBusyStatus) + " [" + std::to_string(BasicStepDimension(run_state_)) + "/" +
         std::to_string(controls_.MaxDimensionIndex() + 2) + "]";
}

void TestRunController::CompleteBasicStep(double value) {
  const int step = run_state_;
  const int m = BasicStepDimension(step);
  const int row = BasicStepRow(step);
  controls_.SetGridCell(0, row, "m=" + GeneralNumberText(m, decimal_separator_));
  controls_.SetGridCell(1, row, GeneralNumberText(value, decimal_separator_));
  if (!PermutationRun()) {
    const int size_class = controls_.SizeClassIndex();
    controls_.SetGridCell(2, row, Verdict(value, controls_.EpsRangeIndex(), m, size_class));
    controls_.SetGridCellHint(2, row, SizeClassHint(controls_.ObservationCount(), size_class));
  }
  // A maximum lowered below the dimension reached ends the run here as well.
  if (controls_.MaxDimensionIndex() <= step || step >= kLastBasicStep) {
    DeleteOutput();
    if (PermutationRun()) {
      // One more step: the p-values of every dimension reached.
      permutation_dimension_ = m;
      run_state_ = kPermutationPass;
      LaunchEngine();
      return;
    }
    SetCurvesRun(m, controls_.EpsRangeIndex());
    // The whole table selected, so that the first copy takes all of it.
    controls_.SelectGridRows(1, row);
    return;
  }
  run_state_ = step + 1;
  LaunchEngine();
}

void TestRunController::CompleteIxoPass(double value) {
  IxoReportFields fields;
  fields.file_name = controls_.InputFileCaption();
  fields.eps_low = controls_.EditText(EditId::kEdit2);
  fields.eps_high = controls_.EditText(EditId::kEdit4);
  fields.dimension = controls_.EditText(EditId::kEdit7);
  if (controls_.Checked(CheckBoxId::kCheckBox3))
    fields.intervals = controls_.EditText(EditId::kEdit5);
  if (controls_.Checked(CheckBoxId::kCheckBox2)) {
    fields.constraint = controls_.EditText(EditId::kEdit6);
  }
  for (const std::string& line : IxoReportLines(fields, value, decimal_separator_)) {
    controls_.AppendReportLine(line);
  }
  if (controls_.Checked(CheckBoxId::kCheckBox1)) {
    run_state_ = kBdsPass;
    LaunchEngine();
    return;
  }
  DeleteOutput();
}

void TestRunController::CompleteBdsPass(double value) {
  if (controls_.Checked(CheckBoxId::kCheckBox1)) {
    controls_.AppendReportLine(BdsReportLine(value, controls_.EditText(EditId::kEdit7),
                                             controls_.EditText(EditId::kEdit8),
                                             decimal_separator_));
  }
  DeleteOutput();
}

void TestRunController::SetCurvesRun(std::optional<int> m, int eps_range) {
  curves_m_ = m;
  curves_eps_range_ = eps_range;
  controls_.SetCurvesEnabled(m.has_value());
}

void TestRunController::StopWithoutResult(const EngineStatus& status) {
  StopAfterFailure();
  host_.StopEngine();
  ReportEngineEnded(status);
}

void TestRunController::ReportEngineEnded(const EngineStatus& status) {
  std::string message = ProgramPhrase() + " ended without a result";
  if (!status.how.empty()) message += " (" + status.how + ")";
  message += ".";
  std::string error_text = TrimmedEnd(status.error_text);
  if (error_text.size() > kMaxErrorTextShown)
    error_text = error_text.substr(0, kMaxErrorTextShown) + " ...";
  if (!error_text.empty()) message += "\n" + error_text;
  controls_.ShowMessage(message);
}

}  // namespace ixo

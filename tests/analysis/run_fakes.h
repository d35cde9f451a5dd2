// Stand-ins for the run controller's window and system, for the controller
// tests: controls held in plain members, and a host whose engine and files are
// scripted by the test. Every host call is logged in order.
#pragma once

#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/engine_command.h"
#include "analysis/run_controls.h"
#include "analysis/run_host.h"

namespace ixo::testing {

class FakeControls : public RunControls {
 public:
  FakeControls() {
    edits[EditId::kEdit2] = "0.60";
    edits[EditId::kEdit4] = "1.90";
    edits[EditId::kEdit5] = "40";
    edits[EditId::kEdit6] = "50";
    edits[EditId::kEdit7] = "2";
    edits[EditId::kEdit8] = "0.50";
  }

  int EpsRangeIndex() const override { return eps_range; }
  int MaxDimensionIndex() const override { return max_dimension_index; }
  int SizeClassIndex() const override { return size_class; }
  int ObservationCount() const override { return observations; }
  std::string EditText(EditId edit) const override { return edits.at(edit); }
  bool Checked(CheckBoxId box) const override {
    auto found = checked.find(box);
    return found != checked.end() && found->second;
  }
  std::string InputFileCaption() const override { return file_caption; }

  void SetGridColumnCount(int columns) override {
    for (std::vector<std::string>& row : grid) row.resize(static_cast<size_t>(columns));
  }
  void SetGridCell(int column, int row, const std::string& text) override {
    grid.at(row).at(column) = text;
  }
  void SetGridCellHint(int column, int row, const std::string& hint) override {
    if (hint.empty()) {
      hints.erase({column, row});
    } else {
      hints[{column, row}] = hint;
    }
  }
  void SetVerdictLine(const std::string& text) override { verdict_line = text; }
  void SelectGridRows(int top, int bottom) override { selected_rows = {top, bottom}; }
  void SetStatus(const std::string& text) override {
    status = text;
    status_history.push_back(text);
  }
  void AppendReportLine(const std::string& line) override { memo.push_back(line); }
  void ClearReport() override { memo.clear(); }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void SetTimerEnabled(bool enabled) override { timer = enabled; }
  void SetEditEnabled(EditId edit, bool enabled) override { enabled_edits[edit] = enabled; }
  void RepaintNow() override { ++repaints; }
  void SetCurvesEnabled(bool enabled) override { curves_enabled = enabled; }
  void ShowCurves(const CurvesTable& table) override { curves_shown.push_back(table); }

  // What the controller reads.
  int eps_range = 0;
  int max_dimension_index = 8;
  int size_class = 0;
  int observations = 500;
  std::map<EditId, std::string> edits;
  std::map<CheckBoxId, bool> checked;
  std::string file_caption = "series.txt";

  // What it wrote.
  std::vector<std::vector<std::string>> grid =
      std::vector<std::vector<std::string>>(10, std::vector<std::string>(3));
  std::map<std::pair<int, int>, std::string> hints;  // by (column, row)
  std::string verdict_line;
  std::pair<int, int> selected_rows{1, 1};  // the grid's first data row at start
  std::string status = " Welcome to the Ixo program.";
  std::vector<std::string> status_history;
  std::vector<std::string> memo;
  std::vector<std::string> messages;
  std::vector<std::string> errors;
  bool timer = false;
  std::map<EditId, bool> enabled_edits;
  int repaints = 0;
  bool curves_enabled = false;
  std::vector<CurvesTable> curves_shown;
};

// The words of an engine start joined by single blanks, as its command line reads.
inline std::string JoinedCommand(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& word : arguments) line += (line.empty() ? "" : " ") + word;
  return line;
}

class FakeHost : public RunHost {
 public:
  // The import's file operations are never asked for by the run controller.
  FileError CopyFile(const std::string&, const std::string&) override {
    return std::string("not a file host");
  }
  int WriteFile(const std::string&, std::string_view) override { return EIO; }
  int RenameFile(const std::string&, const std::string&) override { return EIO; }

  std::string ProgramDirectory() override { return directory; }
  FileError ChangeDirectory(const std::string& path) override {
    log.push_back("cd " + path);
    return change_directory_error;
  }
  bool FileExists(const std::string& path) override {
    return path == directory + "input.tmp" && input_present;
  }
  FileError DeleteFile(const std::string& path) override {
    log.push_back("delete " + path);
    if (path == directory + "pvalues.tmp") pvalues.reset();
    if (path == directory + "curves.tmp") curves.reset();
    if (path == directory + "progress.tmp") progress.reset();
    if (path != directory + "output.tmp") return std::nullopt;
    if (delete_error) return delete_error;
    output.reset();
    return std::nullopt;
  }
  FileError StartEngine(const std::vector<std::string>& words) override {
    const std::string command_line = JoinedCommand(words);
    log.push_back("start " + command_line);
    if (start_error) return start_error;
    commands.push_back(command_line);
    arguments.push_back(words);
    engine = EngineStatus{};
    engine_held = true;
    return std::nullopt;
  }
  EngineStatus PollEngine() override {
    if (finish_when_polled) {
      Finish(*finish_when_polled);
      finish_when_polled.reset();
    }
    return engine;
  }
  void StopEngine() override {
    log.push_back("stop");
    if (engine_held && !engine.ended) ++engines_killed;
    engine_held = false;
    engine.ended = true;
  }
  void DetachEngine() override {
    log.push_back("detach");
    if (engine_held && !engine.ended) ++engines_detached;
    engine_held = false;
    engine = EngineStatus{true, "", ""};
  }
  ResultFileText ReadResult(const std::string& path) override {
    if (path != directory + "output.tmp" || !output) return ResultFileText{};
    return *output;
  }
  ResultFileText ReadText(const std::string& path, size_t) override {
    const std::pair<const char*, std::optional<std::string>*> files[] = {
        {"pvalues.tmp", &pvalues}, {"curves.tmp", &curves}, {"progress.tmp", &progress}};
    for (const auto& [name, file] : files) {
      if (path == directory + name && file->has_value()) return {true, **file, text_error};
    }
    return ResultFileText{};
  }

  // The running engine writes `value` (in full) and ends normally.
  void Finish(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g\n", value);
    output = ResultFileText{true, text, ""};
    engine.ended = true;
    engine.how = "exit status 0";
  }
  // The running engine ends without writing a result.
  void Fail(const std::string& how, const std::string& error_text) {
    engine.ended = true;
    engine.how = how;
    engine.error_text = error_text;
  }

  std::string directory = "/opt/ixo/";
  bool input_present = true;
  FileError change_directory_error;
  FileError delete_error;
  FileError start_error;
  std::optional<ResultFileText> output;  // output.tmp, when present
  std::optional<std::string> pvalues;    // pvalues.tmp, when present
  std::optional<std::string> curves;     // curves.tmp, when present
  std::optional<std::string> progress;   // progress.tmp, when present
  std::string text_error;                // why pvalues.tmp or curves.tmp, present, cannot be read
  EngineStatus engine{true, "", ""};
  // The engine renames its result into place and exits just as it is polled.
  std::optional<double> finish_when_polled;
  bool engine_held = false;
  int engines_killed = 0;
  int engines_detached = 0;
  std::vector<std::string> commands;                // each start's words, joined
  std::vector<std::vector<std::string>> arguments;  // each start's words
  std::vector<std::string> log;
};

}  // namespace ixo::testing

// What the test-run controller needs of the main window: the controls it reads
// (the basic tab's three lists, the advanced tab's fields and check boxes, the
// loaded file's name) and the ones it writes (results grid, status line, report
// memo, message boxes, the poll timer, the fields' enabled state). The window
// implements this over its widgets; tests implement it with plain members.
// Every read is made afresh at the moment the controller needs the value.
#pragma once

#include <string>

#include "analysis/curves_csv.h"
#include "analysis/size_class_choice.h"

namespace ixo {

// The advanced tab's edit fields, by their layout names.
enum class EditId { kEdit2, kEdit4, kEdit5, kEdit6, kEdit7, kEdit8 };

// The advanced tab's check boxes: CheckBox1 asks for the BDS pass and unlocks
// Edit8, CheckBox2 unlocks Edit6, CheckBox3 unlocks Edit5.
enum class CheckBoxId { kCheckBox1, kCheckBox2, kCheckBox3 };

class RunControls {
 public:
  virtual ~RunControls() = default;

  // Selected index of ComboBox1r: the epsilon range, 0 to 3.
  virtual int EpsRangeIndex() const = 0;
  // Selected index of ComboBox2: the maximum dimension minus 2, 0 to 8.
  virtual int MaxDimensionIndex() const = 0;
  // Selected index of ComboBox3: the sample-size class, 0 to 2, or
  // kPermutationClass for the permutation test.
  virtual int SizeClassIndex() const = 0;
  // The number of observations of the loaded series (Label5's caption; 0 when
  // it reads as no number).
  virtual int ObservationCount() const = 0;
  // The current text of an advanced edit field, exactly as typed.
  virtual std::string EditText(EditId edit) const = 0;
  // Whether a check box is ticked now.
  virtual bool Checked(CheckBoxId box) const = 0;
  // The caption of Label34: the name of the loaded data file.
  virtual std::string InputFileCaption() const = 0;

  // Shows 3 columns in StringGrid1, or 4 with the p-value column.
  virtual void SetGridColumnCount(int columns) = 0;
  // Sets cell (`column`, `row`) of StringGrid1; columns 0 to 3 (the fourth
  // only while shown), rows 0 (header) to 9.
  virtual void SetGridCell(int column, int row, const std::string& text) = 0;
  // Marks a cell with a hint the user sees beside its text, without changing
  // the text; an empty `hint` removes the mark.
  virtual void SetGridCellHint(int column, int row, const std::string& hint) = 0;
  // Sets the one line under StringGrid1 that gives a permutation run's overall
  // verdict over all its dimensions; an empty `text` leaves the line blank.
  virtual void SetVerdictLine(const std::string& text) = 0;
  // Selects data rows `top` to `bottom` of StringGrid1 (grid rows, 1 and above).
  virtual void SelectGridRows(int top, int bottom) = 0;
  // Sets the status line Panel1.
  virtual void SetStatus(const std::string& text) = 0;
  // Appends one line to the report memo Memo1.
  virtual void AppendReportLine(const std::string& line) = 0;
  // Removes every line of Memo1.
  virtual void ClearReport() = 0;
  // A modal message box with one of the program's sentences, shown as it stands.
  virtual void ShowMessage(const std::string& text) = 0;
  // The box for an error that ends a handler: caption "Ixo program", the
  // message with a full stop added when it lacks one.
  virtual void ShowError(const std::string& message) = 0;
  // Enables or disables Timer1, the 50 ms timer whose tick calls Timer1Timer
  // (and with it any faster trigger of the same poll the window has).
  virtual void SetTimerEnabled(bool enabled) = 0;
  // Enables or disables an edit field for typing (its text stays).
  virtual void SetEditEnabled(EditId edit, bool enabled) = 0;
  // Repaints the window at once, so a new status text shows before an engine starts.
  virtual void RepaintNow() = 0;
  // Enables or disables "Show correlation integrals" in StringGrid1's context menu.
  virtual void SetCurvesEnabled(bool enabled) = 0;
  // Shows `table` in the "Correlation integrals" window, in front of the others.
  virtual void ShowCurves(const CurvesTable& table) = 0;
};

}  // namespace ixo

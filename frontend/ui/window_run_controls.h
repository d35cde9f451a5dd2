// The test-run controller's view of the main window: it reads the basic and
// advanced options from TForm1's widgets and writes the results grid, the
// status line, the report memo, the message boxes and Timer1 through them.
#pragma once

#include "analysis/run_controls.h"

class QLineEdit;
class TForm1;

namespace ixo {

class Dialogs;

class WindowRunControls final : public RunControls {
 public:
  // `form` and `dialogs` must outlive this object.
  WindowRunControls(TForm1& form, Dialogs& dialogs) : form_(form), dialogs_(dialogs) {}

  int EpsRangeIndex() const override;
  int MaxDimensionIndex() const override;
  int SizeClassIndex() const override;
  int ObservationCount() const override;
  std::string EditText(EditId edit) const override;
  bool Checked(CheckBoxId box) const override;
  std::string InputFileCaption() const override;

  void SetGridColumnCount(int columns) override;
  void SetGridCell(int column, int row, const std::string& text) override;
  void SetGridCellHint(int column, int row, const std::string& hint) override;
  void SetVerdictLine(const std::string& text) override;
  void SelectGridRows(int top, int bottom) override;
  void SetStatus(const std::string& text) override;
  void AppendReportLine(const std::string& line) override;
  void ClearReport() override;
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& message) override;
  void SetTimerEnabled(bool enabled) override;
  void SetEditEnabled(EditId edit, bool enabled) override;
  void RepaintNow() override;
  void SetCurvesEnabled(bool enabled) override;
  void ShowCurves(const CurvesTable& table) override;

 private:
  QLineEdit* Edit(EditId edit) const;

  TForm1& form_;
  Dialogs& dialogs_;
};

}  // namespace ixo

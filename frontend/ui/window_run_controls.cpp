#include "ui/window_run_controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "ui/Unit1.h"
#include "ui/curves_window.h"
#include "ui/dialogs.h"
#include "ui/string_grid.h"

namespace ixo {

namespace {
QString Text(const std::string& text) {
  return QString::fromStdString(text);
}
}  // namespace

int WindowRunControls::EpsRangeIndex() const {
  return form_.ComboBox1r->currentIndex();
}

int WindowRunControls::MaxDimensionIndex() const {
  return form_.ComboBox2->currentIndex();
}

int WindowRunControls::SizeClassIndex() const {
  return form_.ComboBox3->currentIndex();
}

int WindowRunControls::ObservationCount() const {
  return form_.Label5->text().toInt();  // 0 when it is no number
}

QLineEdit* WindowRunControls::Edit(EditId edit) const {
  switch (edit) {
    case EditId::kEdit2:
      return form_.Edit2;
    case EditId::kEdit4:
      return form_.Edit4;
    case EditId::kEdit5:
      return form_.Edit5;
    case EditId::kEdit6:
      return form_.Edit6;
    case EditId::kEdit7:
      return form_.Edit7;
    case EditId::kEdit8:
      return form_.Edit8;
  }
  return form_.Edit7;
}

std::string WindowRunControls::EditText(EditId edit) const {
  return Edit(edit)->text().toStdString();
}

bool WindowRunControls::Checked(CheckBoxId box) const {
  switch (box) {
    case CheckBoxId::kCheckBox1:
      return form_.CheckBox1->isChecked();
    case CheckBoxId::kCheckBox2:
      return form_.CheckBox2->isChecked();
    case CheckBoxId::kCheckBox3:
      return form_.CheckBox3->isChecked();
  }
  return false;
}

std::string WindowRunControls::InputFileCaption() const {
  return form_.Label34->text().toStdString();
}

void WindowRunControls::SetGridColumnCount(int columns) {
  StringGrid& grid = *form_.StringGrid1;
  const bool p_values = columns == 4;
  grid.SetColumns(columns, p_values ? kGridColumnWidthsWithPValues : kGridColumnWidths);
  grid.SetNarrowText(p_values);
  grid.resize(p_values ? kGridWidthWithPValues : kGridWidth, grid.height());
}

void WindowRunControls::SetGridCell(int column, int row, const std::string& text) {
  form_.StringGrid1->SetCell(column, row, Text(text));
}

void WindowRunControls::SetGridCellHint(int column, int row, const std::string& hint) {
  form_.StringGrid1->SetCellHint(column, row, Text(hint));
}

void WindowRunControls::SetVerdictLine(const std::string& text) {
  form_.FamilyVerdict->setText(Text(text));
}

void WindowRunControls::SelectGridRows(int top, int bottom) {
  form_.StringGrid1->SelectRows(top, bottom);
}

void WindowRunControls::SetStatus(const std::string& text) {
  form_.Panel1->setText(Text(text));
}

void WindowRunControls::AppendReportLine(const std::string& line) {
  form_.Memo1->appendPlainText(Text(line));
}

void WindowRunControls::ClearReport() {
  form_.Memo1->clear();
}

void WindowRunControls::ShowMessage(const std::string& text) {
  dialogs_.ShowMessage(&form_, Text(text));
}

void WindowRunControls::ShowError(const std::string& message) {
  dialogs_.ShowError(&form_, Text(message));
}

void WindowRunControls::SetTimerEnabled(bool enabled) {
  if (enabled) {
    form_.Timer1->start();
  } else {
    form_.Timer1->stop();
  }
  form_.WatchEngineEnd(enabled);
}

void WindowRunControls::SetEditEnabled(EditId edit, bool enabled) {
  Edit(edit)->setEnabled(enabled);
}

void WindowRunControls::RepaintNow() {
  form_.repaint();
}

void WindowRunControls::SetCurvesEnabled(bool enabled) {
  form_.ShowCorrelationIntegrals1->setEnabled(enabled);
}

void WindowRunControls::ShowCurves(const CurvesTable& table) {
  form_.CorrelationWindow()->ShowCurves(table);
}

}  // namespace ixo

// The histogram window TForm2: a histogram of the standardized series against
// the standard normal distribution, with the moments and the Bera-Jarque test
// beside it. The window owns no series: it works on the main window's
// observation list, which the first computation after a load replaces by the
// standardized, sorted values. Its gauge doubles as the "prepared" mark: at 100
// the moments are known and a computation only re-bins.
//
// Every computation happens in ixo::ComputeHistogram; this class only wires the
// controls to it and copies its texts and points into labels and chart.
#pragma once

#include <QDialog>
#include <QString>

#include "analysis/observation_list.h"
#include "ui/dialogs.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QSpinBox;
class QWidget;

namespace ixo {
class HistogramChart;
}

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  // The hidden window over the main window's `list`; errors go to `dialogs`,
  // numbers are written with `decimal_separator`. `list` and `dialogs` must
  // outlive the window.
  TForm2(ixo::ObservationList& list, ixo::Dialogs& dialogs, char decimal_separator,
         QWidget* parent = nullptr);
  ~TForm2() override;

  // Empties the bars (Series1) and the normal curve (Series2).
  void ClearSeries();

  // Sets the gauge; an import sets 0, which marks the series as not prepared.
  void SetGaugeProgress(int percent);

  // The histogram computation, run on activation and on every change of the
  // bin-count text: moments, standardization and sort when the gauge is below
  // 100, then bars and curve. An error shows its box and changes nothing else.
  void BitBtn1Click();

  // Either check box: draws or clears the normal curve, shows or hides the
  // value marks.
  void CheckBox2Click();

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildPanel(QWidget* panel);
  void SpinEdit1Change();
  void DrawNormalCurve();
  void ShowError(const char* message);
  bool IsOwnWindow(const QWidget* window) const;

  ixo::ObservationList& list_;
  ixo::Dialogs& dialogs_;
  char decimal_separator_;

  ixo::HistogramChart* Chart1;
  QWidget* Panel1;
  QProgressBar* Gauge1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox1;
  QSpinBox* SpinEdit1;
  QGroupBox* GroupBox1;
  QLabel* Label9;
  QLabel* Label11;
  QLabel* Label4;
  QLabel* Label6;
  QLabel* Label14;

  QString bin_count_text_;  // the bin-count text the last change computed for

  // Set when the window lost the activation to its own error box or to no
  // window of this program; the activation that ends it computes nothing.
  bool skip_next_activation_ = false;
};

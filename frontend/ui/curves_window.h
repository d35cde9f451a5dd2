// The "Correlation integrals" window: the log-log curves behind the Ixo values
// of one basic run, drawn by CurvesChartView, with a context menu that copies
// the points as tab-separated text. Non-modal: the main window stays usable
// while it is open, and a later run replaces what it shows. Every number comes
// from the analysis library (CurvesChartOf, CurvesCopyText); this class lays
// out and wires.
#pragma once

#include <QWidget>

#include "analysis/curves_csv.h"

class QAction;
class QMenu;

namespace ixo {

class CurvesChartView;

class CurvesWindow : public QWidget {
  Q_OBJECT

 public:
  // A hidden window of its own (a child of `parent` only for its lifetime);
  // the copied text uses `decimal_separator`.
  explicit CurvesWindow(char decimal_separator, QWidget* parent = nullptr);

  // Draws `table`, keeps it for the copy and shows the window in front.
  void ShowCurves(const CurvesTable& table);

  // The context menu's "Copy points into Clipboard".
  void CopypointsintoClipboard1Click();

  CurvesChartView* Chart1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* CopypointsintoClipboard1 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  char decimal_separator_;
  CurvesTable table_;
  bool placed_ = false;  // centred on its first showing only; later the user's place stays
};

}  // namespace ixo

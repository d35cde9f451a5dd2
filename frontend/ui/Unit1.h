// TForm1, the main window of ixo, and the map of the front end.
//
// The front end is three layers. frontend/analysis/ holds every decision and
// every number text, free of Qt: the import of a data file with its
// descriptive statistics, the critical values, the test-run controller that
// starts ixo_engine once per result and collects it from output.tmp, the
// histogram statistics and the clipboard text of the results; it reaches the
// system only through the interfaces RunHost and FileHost. frontend/platform/
// does the I/O: files, the engine process, the result file's bytes, the
// desktop's link handler, and PlatformRunHost, which implements those
// interfaces. frontend/ui/ (this folder) only builds the windows and binds
// their widgets to the analysis code:
//
//   Project1.cpp        start-up: application title, TForm1, the hidden TForm2, loop
//   Unit1 (this file)   TForm1: the three tab pages, the status line, the handlers
//   basic_page.cpp      the "Basic test" page: import, statistics, options, grid
//   advanced_page.cpp   the "Advanced test" page: fields, check boxes, report memo
//   about_page.cpp      the "About the program" page: picture, info, links, help
//   window_run_controls the controller's view of TForm1's widgets
//   Unit2               TForm2, the histogram window, shown by "Histogram"
//   curves_window       the "Correlation integrals" window, from the grid's menu
//   dialogs             the open-file dialog and message boxes, scripted in tests
//
// Each control keeps its layout name as object name and member name, and each
// handler is named after the control and the event that fire it. A handler
// that fails with an exception ends there; the message goes to the error box.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "ui/link_label.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QSocketNotifier;
class QTabWidget;
class QTimer;
class TForm2;

namespace ixo {
class Dialogs;
class ListBoxObservations;
class ObservationList;
class RunHost;
class CurvesWindow;
class StringGrid;
class TestRunController;
class WindowRunControls;
}  // namespace ixo

class TForm1 : public QWidget {
 public:
  // Builds the window with every control at its start value. `dialogs`, `host`
  // and `opener` must outlive the window; `opener` serves the about page's links.
  TForm1(ixo::Dialogs& dialogs, ixo::RunHost& host, ixo::LinkOpener opener);
  ~TForm1() override;

  // The histogram window shown by "Histogram"; set once at start-up.
  void SetHistogramWindow(TForm2* form2) { histogram_window_ = form2; }
  // The series as the histogram window reads and rewrites it: ListBox1's items.
  ixo::ObservationList& Observations();
  // The non-modal "Correlation integrals" window; hidden until first shown.
  ixo::CurvesWindow* CorrelationWindow() const { return curves_window_; }
  // The decimal separator of the user's locale, used for every number text.
  char DecimalSeparator() const { return decimal_separator_; }

  // Handlers, run on the window's message loop.
  void SpeedButton1Click();  // "..." on either page: load a data file
  void Button1Click();       // "Run the test" on the basic page
  void Timer1Timer();        // each 50 ms tick while a result is awaited
  void SpeedButton3Click();  // "Run the test" on the advanced page
  void SpeedButton4Click();  // "Clear window"
  void CheckBox1Click();
  void CheckBox2Click();
  void CheckBox3Click();
  void BitBtn1Click();                    // "Histogram"
  void CopyresultsintoClipboard1Click();  // the grid's context menu, or Ctrl+C on the grid
  void ShowCorrelationIntegrals1Click();  // the grid's context menu
  void FormClose();                       // the window is being closed

  // While `watch` holds, the end of the engine process triggers the poll at
  // once (Timer1Timer), so a step need not wait for the next tick; Timer1 keeps
  // polling as before. Called with the poll timer's every start and stop.
  void WatchEngineEnd(bool watch);

  // Runs `handler`; an exception escaping it is shown in the error box.
  void Guarded(const std::function<void()>& handler);

  // Top level.
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  QWidget* TabSheet2 = nullptr;
  QWidget* TabSheet4 = nullptr;
  QLabel* Panel1 = nullptr;
  QTimer* Timer1 = nullptr;
  QMenu* PopupMenu1 = nullptr;
  QAction* CopyresultsintoClipboard1 = nullptr;
  QAction* ShowCorrelationIntegrals1 = nullptr;

  // "Basic test".
  QLabel* Label4 = nullptr;
  QLineEdit* Edit3 = nullptr;
  QPushButton* SpeedButton1 = nullptr;
  QGroupBox* GroupBox2 = nullptr;
  QLabel* Label7 = nullptr;   // input filename
  QLabel* Label5 = nullptr;   // number of observations
  QLabel* Label44 = nullptr;  // skipped observations
  QLabel* Label9 = nullptr;   // mean
  QLabel* Label11 = nullptr;  // standard deviation
  QLabel* Label13 = nullptr;  // spread
  QLabel* Label15 = nullptr;  // standard deviation / spread
  QListWidget* ListBox1 = nullptr;
  QGroupBox* GroupBox3 = nullptr;
  QComboBox* ComboBox1r = nullptr;
  QComboBox* ComboBox2 = nullptr;
  QComboBox* ComboBox3 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* Button1 = nullptr;
  ixo::StringGrid* StringGrid1 = nullptr;
  QLabel* FamilyVerdict = nullptr;  // the line under the grid: a permutation run's overall verdict

  // "Advanced test".
  QLabel* Label21 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* SpeedButton2 = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  QLabel* Label34 = nullptr;
  QLabel* Label31 = nullptr;
  QLabel* Label43 = nullptr;
  QLabel* Label36 = nullptr;
  QLabel* Label38 = nullptr;
  QLabel* Label40 = nullptr;
  QLabel* Label42 = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QLineEdit* Edit4 = nullptr;
  QLineEdit* Edit7 = nullptr;
  QCheckBox* CheckBox3 = nullptr;
  QLineEdit* Edit5 = nullptr;
  QCheckBox* CheckBox2 = nullptr;
  QLineEdit* Edit6 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QLineEdit* Edit8 = nullptr;
  QPlainTextEdit* Memo1 = nullptr;
  QPushButton* SpeedButton3 = nullptr;
  QPushButton* SpeedButton4 = nullptr;

  // "About the program".
  QFrame* Panel3 = nullptr;
  QLabel* Image1 = nullptr;
  QGroupBox* GroupBox7 = nullptr;
  QGroupBox* GroupBox6 = nullptr;
  ixo::LinkLabel* AuthorLink = nullptr;    // mail link to the authors
  ixo::LinkLabel* HomepageLink = nullptr;  // "program homepage"
  QPlainTextEdit* Memo2 = nullptr;
  QLabel* Label28 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildBasicPage();
  void BuildAdvancedPage();
  void BuildAboutPage(ixo::LinkOpener opener);
  void ConnectHandlers();
  void CentreOnDesktop();
  // Puts the hint on ComboBox3 when the loaded series' length lies more than
  // 20 % from the chosen class's sample size, and takes it away otherwise.
  void ShowSizeClassHint();
  // Tells the histogram window that its series is out of date (its gauge to 0).
  void ResetHistogramProgress();

  ixo::Dialogs& dialogs_;
  ixo::RunHost& host_;
  char decimal_separator_;
  TForm2* histogram_window_ = nullptr;
  QSocketNotifier* engine_end_ = nullptr;  // owned by the window; see WatchEngineEnd
  ixo::CurvesWindow* curves_window_ = nullptr;
  std::unique_ptr<ixo::ListBoxObservations> observations_;
  std::unique_ptr<ixo::WindowRunControls> run_controls_;
  std::unique_ptr<ixo::TestRunController> controller_;
};

#include "ui/Unit1.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QTimer>
#include <exception>

#include "analysis/clipboard_text.h"
#include "analysis/exchange_files.h"
#include "analysis/run_host.h"
#include "analysis/test_run_controller.h"
#include "tables/critical_values.h"
#include "ui/Unit2.h"
#include "ui/curves_window.h"
#include "ui/design_font.h"
#include "ui/dialogs.h"
#include "ui/form_layout.h"
#include "ui/list_box_observations.h"
#include "ui/string_grid.h"
#include "ui/window_run_controls.h"

using ixo::Place;

namespace {

// The window's client area: the tab pages above the status line, as designed.
constexpr int kClientWidth = 638;
constexpr int kClientHeight = 235;

char LocaleDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  return point.size() == 1 && point.at(0).unicode() < 128 ? point.at(0).toLatin1() : '.';
}

}  // namespace

TForm1::TForm1(ixo::Dialogs& dialogs, ixo::RunHost& host, ixo::LinkOpener opener)
    : dialogs_(dialogs), host_(host), decimal_separator_(LocaleDecimalSeparator()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Ixo program"));
  setFont(ixo::DesignFont());
  ixo::ApplyGroupBoxLook(this);

  PageControl1 = Place(new QTabWidget(this), "PageControl1", 0, 0, 638, 218);
  PageControl1->setUsesScrollButtons(false);
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  TabSheet2 = new QWidget;
  TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
  TabSheet4 = new QWidget;
  TabSheet4->setObjectName(QStringLiteral("TabSheet4"));
  PageControl1->addTab(TabSheet1, QStringLiteral("Basic test"));
  PageControl1->addTab(TabSheet2, QStringLiteral("Advanced test"));
  PageControl1->addTab(TabSheet4, QStringLiteral("About the program"));

  Panel1 = Place(new QLabel(QStringLiteral(" Welcome to the Ixo program."), this), "Panel1", 0, 217,
                 638, 18);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(50);

  BuildBasicPage();
  BuildAdvancedPage();
  BuildAboutPage(std::move(opener));
  PageControl1->setCurrentWidget(TabSheet1);

  observations_ = std::make_unique<ixo::ListBoxObservations>(*ListBox1);
  run_controls_ = std::make_unique<ixo::WindowRunControls>(*this, dialogs_);
  controller_ = std::make_unique<ixo::TestRunController>(*run_controls_, host_, decimal_separator_);
  curves_window_ = new ixo::CurvesWindow(decimal_separator_, this);
  ConnectHandlers();

  setFixedSize(kClientWidth, kClientHeight);
  CentreOnDesktop();
}

TForm1::~TForm1() = default;

ixo::ObservationList& TForm1::Observations() {
  return *observations_;
}

void TForm1::ConnectHandlers() {
  const auto on_click = [this](QAbstractButton* button, void (TForm1::*handler)()) {
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
  };
  on_click(SpeedButton1, &TForm1::SpeedButton1Click);
  on_click(SpeedButton2, &TForm1::SpeedButton1Click);
  on_click(Button1, &TForm1::Button1Click);
  on_click(SpeedButton3, &TForm1::SpeedButton3Click);
  on_click(SpeedButton4, &TForm1::SpeedButton4Click);
  on_click(CheckBox1, &TForm1::CheckBox1Click);
  on_click(CheckBox2, &TForm1::CheckBox2Click);
  on_click(CheckBox3, &TForm1::CheckBox3Click);
  on_click(BitBtn1, &TForm1::BitBtn1Click);
  connect(ComboBox3, &QComboBox::currentIndexChanged, this, [this] { ShowSizeClassHint(); });
  connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
  connect(CopyresultsintoClipboard1, &QAction::triggered, this,
          [this] { Guarded([this] { CopyresultsintoClipboard1Click(); }); });
  StringGrid1->SetCopyHandler([this] { Guarded([this] { CopyresultsintoClipboard1Click(); }); });
  connect(ShowCorrelationIntegrals1, &QAction::triggered, this,
          [this] { Guarded([this] { ShowCorrelationIntegrals1Click(); }); });
  connect(StringGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenu1->popup(StringGrid1->viewport()->mapToGlobal(at));
  });
}

void TForm1::CentreOnDesktop() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect desktop = screen->availableGeometry();
  move(desktop.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
}

void TForm1::Guarded(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    dialogs_.ShowError(this, QString::fromStdString(error.what()));
  }
}

void TForm1::WatchEngineEnd(bool watch) {
  if (engine_end_ != nullptr) {
    // It may be the very notifier whose signal is being handled now.
    engine_end_->setEnabled(false);
    engine_end_->deleteLater();
    engine_end_ = nullptr;
  }
  const int descriptor = watch ? host_.EngineEndDescriptor() : -1;
  if (descriptor < 0) return;
  engine_end_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
  QSocketNotifier* notifier = engine_end_;
  connect(notifier, &QSocketNotifier::activated, this, [this, notifier] {
    // The descriptor stays readable once the engine has ended: one poll is enough.
    notifier->setEnabled(false);
    Guarded([this] { Timer1Timer(); });
  });
}

void TForm1::Button1Click() {
  controller_->Button1Click();
}

void TForm1::Timer1Timer() {
  controller_->Timer1Timer();
}

void TForm1::SpeedButton3Click() {
  controller_->SpeedButton3Click();
}

void TForm1::SpeedButton4Click() {
  controller_->SpeedButton4Click();
}

void TForm1::CheckBox1Click() {
  controller_->CheckBox1Click();
}

void TForm1::CheckBox2Click() {
  controller_->CheckBox2Click();
}

void TForm1::CheckBox3Click() {
  controller_->CheckBox3Click();
}

void TForm1::BitBtn1Click() {
  if (ListBox1->count() == 0) {
    dialogs_.ShowMessage(this, QString::fromLatin1(ixo::kNoInputMessage));
    return;
  }
  if (histogram_window_ == nullptr) return;
  histogram_window_->ClearSeries();
  histogram_window_->exec();
}

void TForm1::ShowSizeClassHint() {
  const std::string hint = ixo::SizeClassHint(Label5->text().toInt(), ComboBox3->currentIndex());
  ComboBox3->setToolTip(QString::fromStdString(hint));
  // Seen without hovering: the chosen class is drawn in dark red while hinted.
  QPalette palette = ComboBox3->parentWidget()->palette();
  if (!hint.empty()) {
    palette.setColor(QPalette::ButtonText, Qt::darkRed);
    palette.setColor(QPalette::Text, Qt::darkRed);
  }
  ComboBox3->setPalette(palette);
}

void TForm1::ResetHistogramProgress() {
  if (histogram_window_ != nullptr) histogram_window_->SetGaugeProgress(0);
}

void TForm1::CopyresultsintoClipboard1Click() {
  const ixo::GridRows selected = StringGrid1->SelectedRows();
  std::vector<std::vector<std::string>> rows;
  for (int row = selected.top; row <= selected.bottom; ++row) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (int column = 0; column < StringGrid1->columnCount(); ++column) {
      cells.push_back(StringGrid1->Cell(column, row).toStdString());
    }
  }
  const bool p_value_column = StringGrid1->columnCount() == 4;
  QGuiApplication::clipboard()->setText(QString::fromStdString(
      ixo::ResultsClipboardText(rows, p_value_column, FamilyVerdict->text().toStdString())));
}

void TForm1::ShowCorrelationIntegrals1Click() {
  controller_->ShowCorrelationIntegrals1Click();
}

void TForm1::FormClose() {
  // A running engine is left to finish; the next run deletes the output.tmp
  // it leaves.
  controller_->FormClose();
  // A failed or needless deletion is of no concern to the user.
  [[maybe_unused]] const ixo::FileError ignored =
      host_.DeleteFile(host_.ProgramDirectory() + ixo::kInputFileName);
}

void TForm1::closeEvent(QCloseEvent* event) {
  Guarded([this] { FormClose(); });
  QWidget::closeEvent(event);
}

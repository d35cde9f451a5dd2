#include "ui/curves_window.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>

#include "analysis/curves_chart.h"
#include "ui/curves_chart_view.h"
#include "ui/design_font.h"

namespace ixo {

namespace {

// The histogram window's size and border.
constexpr int kClientWidth = 379;
constexpr int kClientHeight = 416;
constexpr int kBorderWidth = 5;

}  // namespace

CurvesWindow::CurvesWindow(char decimal_separator, QWidget* parent)
    : QWidget(parent, Qt::Window), decimal_separator_(decimal_separator) {
  setObjectName(QStringLiteral("CurvesForm"));
  setWindowTitle(QStringLiteral("Correlation integrals"));
  setFont(DesignFont());

  Chart1 = new CurvesChartView(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth);
  layout->addWidget(Chart1);
  resize(kClientWidth, kClientHeight);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  CopypointsintoClipboard1 = PopupMenu1->addAction(QStringLiteral("Copy points into Clipboard"));
  CopypointsintoClipboard1->setObjectName(QStringLiteral("CopypointsintoClipboard1"));
  Chart1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Chart1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(Chart1->mapToGlobal(at)); });
  connect(CopypointsintoClipboard1, &QAction::triggered, this,
          [this] { CopypointsintoClipboard1Click(); });
}

void CurvesWindow::ShowCurves(const CurvesTable& table) {
  table_ = table;
  Chart1->SetCurves(CurvesChartOf(table_));
  show();
  raise();
  activateWindow();
}

void CurvesWindow::CopypointsintoClipboard1Click() {
  QGuiApplication::clipboard()->setText(
      QString::fromStdString(CurvesCopyText(table_, decimal_separator_)));
}

void CurvesWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (placed_) return;
  placed_ = true;
  if (const QScreen* desktop = screen()) {
    move(desktop->availableGeometry().center() - frameGeometry().center() + pos());
  }
}

}  // namespace ixo

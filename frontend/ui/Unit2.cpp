#include "ui/Unit2.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "analysis/histogram_bins.h"
#include "analysis/histogram_computation.h"
#include "analysis/histogram_stats.h"
#include "analysis/normal_distribution.h"
#include "ui/design_font.h"
#include "ui/form_layout.h"
#include "ui/histogram_chart.h"

namespace {

// The designed outer size is 387 x 443 with a 4-pixel frame and a 19-pixel
// caption; Qt sizes the client area, which the window's 5-pixel border lines.
constexpr int kClientWidth = 379;
constexpr int kClientHeight = 416;
constexpr int kBorderWidth = 5;
constexpr int kPanelHeight = 117;
constexpr int kDefaultBins = 9;

QList<QPointF> ToPoints(const std::vector<ixo::ChartPoint>& points) {
  QList<QPointF> list;
  list.reserve(static_cast<qsizetype>(points.size()));
  for (const ixo::ChartPoint& p : points) list << QPointF(p.x, p.y);
  return list;
}

// Width of one bin's slot for `bins` bins; 0 when nothing is drawn.
double SlotWidth(int bins) {
  if (bins <= 0) return 0;
  const ixo::BinEdges edges = ixo::EdgesOfBin(1, bins);
  return edges.hi - edges.lo;
}

// A caption and its bold value label at their designed places. The
// substitute font runs a little wider than the designed one on some captions,
// so a value moves right where its caption would otherwise touch it.
QLabel* PlaceStatistic(QWidget* group, const QString& caption, int caption_left, int caption_top,
                       const char* name, int value_left, int value_top) {
  constexpr int kMinimumGap = 3;
  const QLabel* caption_label = ixo::PlaceLabel(group, caption, caption_left, caption_top);
  QLabel* value = ixo::PlaceValueLabel(group, name, value_left, value_top);
  const int left = std::max(value_left, caption_label->geometry().right() + 1 + kMinimumGap);
  value->setGeometry(left, value_top, value->width() - (left - value_left), value->height());
  return value;
}

}  // namespace

TForm2::TForm2(ixo::ObservationList& list, ixo::Dialogs& dialogs, char decimal_separator,
               QWidget* parent)
    : QDialog(parent), list_(list), dialogs_(dialogs), decimal_separator_(decimal_separator) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Histogram"));
  setFont(ixo::DesignFont());
  setModal(true);

  Chart1 = new ixo::HistogramChart(decimal_separator, this);
  Panel1 = new QWidget(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(kPanelHeight);
  Panel1->setMinimumWidth(kClientWidth - 2 * kBorderWidth);
  BuildPanel(Panel1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kBorderWidth, kBorderWidth, kBorderWidth, kBorderWidth);
  layout->setSpacing(0);
  layout->addWidget(Chart1, 1);
  layout->addWidget(Panel1);
  resize(kClientWidth, kClientHeight);

  // The field's own text, so that texts without a value (an empty field while
  // the user types) recompute too.
  connect(SpinEdit1->findChild<QLineEdit*>(), &QLineEdit::textChanged, this,
          [this] { SpinEdit1Change(); });
  connect(SpinEdit1, &QSpinBox::textChanged, this, [this] { SpinEdit1Change(); });
  connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox2Click(); });
  connect(CheckBox2, &QCheckBox::toggled, this, [this] { CheckBox2Click(); });
}

TForm2::~TForm2() {
  // QDialog's destructor hides the controls, and the spin field's focus-out
  // correction would then call back into this already destroyed part.
  for (QObject* sender :
       {static_cast<QObject*>(SpinEdit1), static_cast<QObject*>(SpinEdit1->findChild<QLineEdit*>()),
        static_cast<QObject*>(CheckBox1), static_cast<QObject*>(CheckBox2)}) {
    disconnect(sender, nullptr, this, nullptr);
  }
}

void TForm2::BuildPanel(QWidget* panel) {
  using ixo::Place;
  using ixo::PlaceLabel;

  PlaceLabel(panel, QStringLiteral("Progress:"), 8, 16);
  Gauge1 = Place(new QProgressBar(panel), "Gauge1", 57, 14, 88, 20);
  Gauge1->setRange(0, 100);
  Gauge1->setValue(0);
  Gauge1->setTextVisible(true);
  Gauge1->setFormat(QStringLiteral("%p%"));
  Gauge1->setAlignment(Qt::AlignCenter);

  CheckBox2 = new QCheckBox(QStringLiteral("Show standard normal"), panel);
  CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
  CheckBox2->move(2, 38);
  CheckBox2->adjustSize();
  CheckBox2->setChecked(true);
  CheckBox1 = new QCheckBox(QStringLiteral("Show values"), panel);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->move(3, 62);
  CheckBox1->adjustSize();
  CheckBox1->setChecked(true);

  PlaceLabel(panel, QStringLiteral("Number of peaks:"), 0, 86);
  SpinEdit1 = Place(new QSpinBox(panel), "SpinEdit1", 93, 83, 45, 24);
  SpinEdit1->setRange(1, ixo::kMaxBins);
  SpinEdit1->setValue(kDefaultBins);
  bin_count_text_ = SpinEdit1->text();
  // A number typed outside 1 to 50 becomes the nearer limit when the field is left.
  SpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);

  GroupBox1 = Place(new QGroupBox(QStringLiteral(" Normality tests "), panel), "GroupBox1", 152, 8,
                    217, 105);
  Label9 = PlaceStatistic(GroupBox1, QStringLiteral("Mean:"), 8, 16, "Label9", 43, 16);
  Label11 =
      PlaceStatistic(GroupBox1, QStringLiteral("Standard deviation:"), 8, 32, "Label11", 103, 32);
  Label4 = PlaceStatistic(GroupBox1, QStringLiteral("Skewness:"), 8, 48, "Label4", 64, 48);
  Label6 = PlaceStatistic(GroupBox1, QStringLiteral("Kurtosis:"), 8, 64, "Label6", 53, 64);
  Label14 = PlaceStatistic(GroupBox1, QStringLiteral("Bera-Jarque normality test:"), 8, 81,
                           "Label14", 136, 80);
  Label14->setToolTip(QString::fromLatin1(ixo::kBeraJarqueHint));
}

void TForm2::ClearSeries() {
  Chart1->SetBars({}, 0);
  Chart1->SetCurve({});
}

void TForm2::SetGaugeProgress(int percent) {
  Gauge1->setValue(percent);
  Gauge1->repaint();
}

void TForm2::BitBtn1Click() {
  repaint();  // visible with its gauge before the work starts
  Chart1->SetBars({}, 0);
  const ixo::HistogramResult result =
      ixo::ComputeHistogram(list_, Gauge1->value(), SpinEdit1->text().toStdString(),
                            decimal_separator_, [this](int percent) { SetGaugeProgress(percent); });
  if (result.error) {
    ShowError(result.error->c_str());
    return;
  }
  if (result.labels) {
    const ixo::HistogramLabels& labels = *result.labels;
    Label9->setText(QString::fromStdString(labels.mean));
    Label11->setText(QString::fromStdString(labels.standard_deviation));
    Label4->setText(QString::fromStdString(labels.skewness));
    Label6->setText(QString::fromStdString(labels.kurtosis));
    Label14->setText(QString::fromStdString(labels.bera_jarque));
    Label4->setToolTip(QString::fromStdString(labels.skewness_hint));
    Label6->setToolTip(QString::fromStdString(labels.kurtosis_hint));
  }
  const int bins = ixo::BinCountFromText(SpinEdit1->text().toStdString());
  Chart1->SetBars(ToPoints(result.bars), SlotWidth(bins));
  SetGaugeProgress(result.gauge);
  Chart1->SetCurve(CheckBox2->isChecked() ? ToPoints(result.curve) : QList<QPointF>());
  Chart1->SetMarksVisible(CheckBox1->isChecked());
}

void TForm2::SpinEdit1Change() {
  // A keystroke reaches both signals; compute once per text.
  const QString text = SpinEdit1->text();
  if (text == bin_count_text_) return;
  bin_count_text_ = text;
  BitBtn1Click();
}

void TForm2::CheckBox2Click() {
  if (CheckBox2->isChecked()) {
    DrawNormalCurve();
  } else {
    Chart1->SetCurve({});
  }
  Chart1->SetMarksVisible(CheckBox1->isChecked());
}

void TForm2::DrawNormalCurve() {
  const int bins = ixo::BinCountFromText(SpinEdit1->text().toStdString());
  Chart1->SetCurve(ToPoints(ixo::DrawNormalCurve(bins)));
}

void TForm2::ShowError(const char* message) {
  dialogs_.ShowError(this, QString::fromUtf8(message));
}

bool TForm2::IsOwnWindow(const QWidget* window) const {
  for (const QWidget* w = window; w != nullptr; w = w->parentWidget()) {
    if (w == this) return true;
  }
  return false;
}

void TForm2::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isVisible()) return;
  if (!isActiveWindow()) {
    // Losing the activation to one of our own boxes, or to no window of this
    // program, is no return of the user to the window: coming back from it
    // would only compute the same result again, or raise the same box once more.
    const QWidget* now_active = QApplication::activeWindow();
    skip_next_activation_ = now_active == nullptr || IsOwnWindow(now_active);
    return;
  }
  if (skip_next_activation_) {
    skip_next_activation_ = false;
    return;
  }
  // Run once the activation is over, so that the window is on screen and an
  // error box does not open inside the activation itself.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (isVisible()) BitBtn1Click();
      },
      Qt::QueuedConnection);
}

void TForm2::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  skip_next_activation_ = false;  // every showing computes
  if (const QScreen* desktop = screen()) {
    move(desktop->availableGeometry().center() - frameGeometry().center() + pos());
  }
}

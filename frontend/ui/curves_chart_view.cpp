#include "ui/curves_chart_view.h"

#include <QGraphicsLineItem>
#include <QLegendMarker>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>
#include <array>

#include "analysis/curves_chart.h"
#include "ui/design_font.h"

namespace ixo {

namespace {

constexpr double kMarkerSize = 5;  // pixels across a point
constexpr double kFitZ = 10;       // the fitted lines lie above every series

// One colour per dimension, navy and red first as in the histogram; the 15
// dimensions from 2 to 16 each get their own.
const std::array<QColor, 15> kColours = {
    QColor(0x00, 0x00, 0x80), QColor(0xFF, 0x00, 0x00), QColor(0x00, 0x80, 0x00),
    QColor(0x80, 0x00, 0x80), QColor(0x00, 0x80, 0x80), QColor(0x80, 0x80, 0x00),
    QColor(0x80, 0x00, 0x00), QColor(0x00, 0x00, 0xFF), QColor(0xFF, 0x00, 0xFF),
    QColor(0x80, 0x80, 0x80), QColor(0x00, 0xC0, 0x00), QColor(0xFF, 0x80, 0x00),
    QColor(0x40, 0x40, 0x40), QColor(0x00, 0xA0, 0xFF), QColor(0xA0, 0x50, 0x20)};

QList<QPointF> ToPoints(const std::vector<ChartPoint>& points) {
  QList<QPointF> list;
  list.reserve(static_cast<qsizetype>(points.size()));
  for (const ChartPoint& p : points) list << QPointF(p.x, p.y);
  return list;
}

}  // namespace

CurvesChartView::CurvesChartView(QWidget* parent)
    : QChartView(new QChart, parent), axis_x_(new QValueAxis), axis_y_(new QValueAxis) {
  setObjectName(QStringLiteral("Chart1"));
  setRenderHint(QPainter::Antialiasing, true);
  setFrameShape(QFrame::NoFrame);

  QChart* chart = this->chart();
  chart->setBackgroundRoundness(0);
  chart->setBackgroundBrush(Qt::white);
  chart->setPlotAreaBackgroundVisible(false);
  chart->setMargins(QMargins(4, 4, 8, 4));
  chart->setLocalizeNumbers(true);
  chart->legend()->setAlignment(Qt::AlignRight);
  chart->legend()->setFont(DesignFont());

  const QFont font = DesignFont();
  for (QValueAxis* axis : {axis_x_, axis_y_}) {
    axis->setLabelsFont(font);
    axis->setTitleFont(font);
    axis->setLabelFormat(QStringLiteral("%.4g"));
  }
  axis_x_->setTitleText(QStringLiteral("ln(eps / spread)"));
  axis_y_->setTitleText(QStringLiteral("ln(pairs)"));
  chart->addAxis(axis_x_, Qt::AlignBottom);
  chart->addAxis(axis_y_, Qt::AlignLeft);

  // The lines follow the plot whenever its geometry or scale changes.
  connect(chart, &QChart::plotAreaChanged, this, [this] { PlaceFits(); });
  connect(axis_x_, &QValueAxis::rangeChanged, this, [this] { PlaceFits(); });
  connect(axis_y_, &QValueAxis::rangeChanged, this, [this] { PlaceFits(); });
}

CurvesChartView::~CurvesChartView() = default;

void CurvesChartView::SetCurves(const CurvesChart& curves) {
  QChart* chart = this->chart();
  chart->removeAllSeries();
  for (const Fit& fit : fits_) delete fit.item;
  fits_.clear();
  for (size_t i = 0; i < curves.series.size(); ++i) {
    const CurveSeries& dimension = curves.series[i];
    const QColor colour = kColours[i % kColours.size()];
    const QString m = QString::number(dimension.m);

    auto* skipped = new QScatterSeries;
    skipped->setObjectName(QStringLiteral("Skipped") + m);
    skipped->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    skipped->setMarkerSize(kMarkerSize);
    skipped->setPen(QPen(colour, 1));
    skipped->setBrush(Qt::white);
    skipped->append(ToPoints(dimension.skipped));

    auto* used = new QScatterSeries;
    used->setObjectName(QStringLiteral("Used") + m);
    used->setName(QString::fromStdString(dimension.name));
    used->setMarkerShape(QScatterSeries::MarkerShapeCircle);
    used->setMarkerSize(kMarkerSize);
    used->setPen(QPen(colour, 1));
    used->setBrush(colour);
    used->append(ToPoints(dimension.used));

    for (QAbstractSeries* series :
         {static_cast<QAbstractSeries*>(skipped), static_cast<QAbstractSeries*>(used)}) {
      chart->addSeries(series);
      series->attachAxis(axis_x_);
      series->attachAxis(axis_y_);
    }
    // The legend names each dimension once, by its used points.
    for (QLegendMarker* marker : chart->legend()->markers(skipped)) marker->setVisible(false);

    if (dimension.line.size() == 2) {
      const QLineF line(dimension.line[0].x, dimension.line[0].y, dimension.line[1].x,
                        dimension.line[1].y);
      auto* item = new QGraphicsLineItem(chart);
      item->setPen(QPen(Qt::black, 1));
      item->setZValue(kFitZ);
      fits_ << Fit{line, item};
    }
  }
  axis_x_->setRange(curves.x_min, curves.x_max);
  axis_y_->setRange(curves.y_min, curves.y_max);
  axis_x_->applyNiceNumbers();
  axis_y_->applyNiceNumbers();
  PlaceFits();
}

QList<QLineF> CurvesChartView::FitLines() const {
  QList<QLineF> lines;
  for (const Fit& fit : fits_) lines << fit.line;
  return lines;
}

void CurvesChartView::PlaceFits() {
  const QList<QAbstractSeries*> series = chart()->series();
  if (series.isEmpty()) return;
  for (const Fit& fit : fits_) {
    fit.item->setLine(QLineF(chart()->mapToPosition(fit.line.p1(), series.first()),
                             chart()->mapToPosition(fit.line.p2(), series.first())));
  }
}

QList<QAbstractSeries*> CurvesChartView::DimensionSeries() const {
  QList<QAbstractSeries*> named;
  for (QAbstractSeries* series : chart()->series()) {
    if (series->objectName().startsWith(QStringLiteral("Used"))) named << series;
  }
  return named;
}

}  // namespace ixo

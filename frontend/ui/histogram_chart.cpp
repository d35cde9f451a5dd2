#include "ui/histogram_chart.h"

#include <QAreaSeries>
#include <QBrush>
#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <numeric>

#include "analysis/chart_value_text.h"
#include "ui/design_font.h"

namespace ixo {

namespace {

constexpr int kPointerLength = 20;    // pixels from the bar's top to its mark
constexpr double kMarkPadding = 2;    // pixels between a mark's text and its frame
constexpr double kMarkOverlap = 0.5;  // frames may share a border line, no more
constexpr double kMarkZ = 10;         // marks lie above both series
const QColor kNavy(0x00, 0x00, 0x80);
const QColor kMarkBack(0xFF, 0xFF, 0xE1);  // the pale yellow of tooltips

// Share of the axis above the highest point: room for the marks when shown.
constexpr double kHeadroomWithMarks = 1.25;
constexpr double kHeadroomWithoutMarks = 1.05;

}  // namespace

HistogramChart::HistogramChart(char decimal_separator, QWidget* parent)
    : QChartView(new QChart, parent),  // the view owns the chart, the chart its series and axes
      decimal_separator_(decimal_separator),
      bar_outline_(new QLineSeries),
      bar_base_(new QLineSeries),
      series1_(new QAreaSeries(bar_outline_, bar_base_)),
      series2_(new QLineSeries),
      axis_x_(new QValueAxis),
      axis_y_(new QValueAxis) {
  setObjectName(QStringLiteral("Chart1"));
  setRenderHint(QPainter::Antialiasing, false);
  setFrameShape(QFrame::NoFrame);

  QChart* chart = this->chart();
  chart->legend()->hide();
  chart->setBackgroundRoundness(0);
  chart->setBackgroundBrush(Qt::white);
  chart->setPlotAreaBackgroundVisible(false);
  chart->setMargins(QMargins(4, 4, 8, 4));
  chart->setLocalizeNumbers(true);

  // The area series does not own the lines that bound it.
  bar_outline_->setParent(series1_);
  bar_base_->setParent(series1_);
  series1_->setObjectName(QStringLiteral("Series1"));
  series1_->setBrush(kNavy);
  series1_->setPen(QPen(Qt::black, 1));
  series2_->setObjectName(QStringLiteral("Series2"));
  series2_->setPen(QPen(Qt::red, 3));
  series2_->setPointsVisible(false);
  series2_->setPointLabelsVisible(false);
  chart->addSeries(series1_);
  chart->addSeries(series2_);

  const QFont font = DesignFont();
  for (QValueAxis* axis : {axis_x_, axis_y_}) {
    axis->setLabelsFont(font);
    axis->setLabelFormat(QStringLiteral("%.4g"));
  }
  axis_x_->setRange(-3, 3);
  axis_x_->setTickCount(7);
  axis_y_->setRange(0, 1);
  chart->addAxis(axis_x_, Qt::AlignBottom);
  chart->addAxis(axis_y_, Qt::AlignLeft);
  for (QAbstractSeries* series :
       {static_cast<QAbstractSeries*>(series1_), static_cast<QAbstractSeries*>(series2_)}) {
    series->attachAxis(axis_x_);
    series->attachAxis(axis_y_);
  }

  // The marks follow the plot whenever its geometry or scale changes.
  connect(chart, &QChart::plotAreaChanged, this, [this] { PlaceMarks(); });
  connect(axis_x_, &QValueAxis::rangeChanged, this, [this] { PlaceMarks(); });
  connect(axis_y_, &QValueAxis::rangeChanged, this, [this] { PlaceMarks(); });
}

HistogramChart::~HistogramChart() = default;

void HistogramChart::SetBars(const QList<QPointF>& bars, double slot_width) {
  bars_ = bars;
  slot_width_ = slot_width;
  RebuildBars();
  RebuildMarks();
  ScaleAxes();
}

void HistogramChart::SetCurve(const QList<QPointF>& curve) {
  series2_->replace(curve);
  ScaleAxes();
}

QList<QPointF> HistogramChart::Curve() const {
  return series2_->points();
}

void HistogramChart::SetMarksVisible(bool visible) {
  marks_visible_ = visible;
  ShowMarksThatFit();
  ScaleAxes();
}

QStringList HistogramChart::MarkTexts() const {
  QStringList texts;
  for (const Mark& mark : marks_) texts << mark.text->text();
  return texts;
}

QList<QRectF> HistogramChart::ShownMarkFrames() const {
  QList<QRectF> frames;
  for (const Mark& mark : marks_) {
    if (mark.frame->isVisible()) frames << mark.frame->mapRectToParent(mark.frame->rect());
  }
  return frames;
}

QList<QLineF> HistogramChart::MarkPointers() const {
  QList<QLineF> pointers;
  for (const Mark& mark : marks_) pointers << mark.pointer->line();
  return pointers;
}

void HistogramChart::RebuildBars() {
  // Each bar is a rectangle on the zero line; between bars the outline runs
  // along zero, so the area fills the bars only.
  const double half = slot_width_ / 4;
  QList<QPointF> outline;
  for (const QPointF& bar : bars_) {
    outline << QPointF(bar.x() - half, 0) << QPointF(bar.x() - half, bar.y())
            << QPointF(bar.x() + half, bar.y()) << QPointF(bar.x() + half, 0);
  }
  QList<QPointF> base;
  if (!outline.isEmpty()) base << QPointF(outline.first().x(), 0) << QPointF(outline.last().x(), 0);
  bar_outline_->replace(outline);
  bar_base_->replace(base);
}

void HistogramChart::RebuildMarks() {
  for (const Mark& mark : marks_) {
    delete mark.pointer;
    delete mark.frame;  // deletes its text too
  }
  marks_.clear();
  const char thousands_separator = decimal_separator_ == ',' ? '.' : ',';
  const QFont font = DesignFont();
  for (const QPointF& bar : bars_) {
    Mark mark;
    mark.pointer = new QGraphicsLineItem(chart());
    mark.pointer->setPen(QPen(Qt::black, 1));
    mark.frame = new QGraphicsRectItem(chart());
    mark.frame->setPen(QPen(Qt::black, 1));
    mark.frame->setBrush(kMarkBack);
    mark.text = new QGraphicsSimpleTextItem(
        QString::fromStdString(ChartValueText(bar.y(), decimal_separator_, thousands_separator)),
        mark.frame);
    mark.text->setFont(font);
    mark.pointer->setZValue(kMarkZ);
    mark.frame->setZValue(kMarkZ);
    marks_ << mark;
  }
  PlaceMarks();
}

void HistogramChart::PlaceMarks() {
  for (qsizetype i = 0; i < marks_.size(); ++i) {
    const Mark& mark = marks_[i];
    const QPointF top = chart()->mapToPosition(bars_[i], series1_);
    const QPointF tip(top.x(), top.y() - kPointerLength);
    mark.pointer->setLine(QLineF(top, tip));
    const QRectF text = mark.text->boundingRect();
    const QRectF frame(0, 0, text.width() + 2 * kMarkPadding, text.height() + 2 * kMarkPadding);
    mark.frame->setRect(frame);
    mark.frame->setPos(tip.x() - frame.width() / 2, tip.y() - frame.height());
    mark.text->setPos(kMarkPadding, kMarkPadding);
  }
  ShowMarksThatFit();
}

void HistogramChart::ShowMarksThatFit() {
  // The higher bars first (left before right among equal ones): a mark is
  // drawn when its frame lies within the chart's width, and it and its
  // pointer line stay clear of the frames and pointers drawn so far.
  QList<qsizetype> order(marks_.size());
  std::iota(order.begin(), order.end(), qsizetype{0});
  std::stable_sort(order.begin(), order.end(),
                   [this](qsizetype a, qsizetype b) { return bars_[a].y() > bars_[b].y(); });
  const QRectF bounds = chart()->rect();
  QList<QRectF> taken;
  const auto clear_of_taken = [&taken](const QRectF& area) {
    return std::none_of(taken.begin(), taken.end(),
                        [&area](const QRectF& other) { return other.intersects(area); });
  };
  for (const qsizetype i : order) {
    const Mark& mark = marks_[i];
    const QRectF frame = mark.frame->mapRectToParent(mark.frame->rect());
    const QLineF line = mark.pointer->line();
    const QRectF pointer = QRectF(line.p1(), line.p2()).normalized().adjusted(-0.5, 0, 0.5, 0);
    // Frames may share their border lines; the texts inside stay apart.
    const QRectF inner = frame.adjusted(kMarkOverlap, kMarkOverlap, -kMarkOverlap, -kMarkOverlap);
    const bool inside = frame.left() >= bounds.left() && frame.right() <= bounds.right();
    const bool fits = inside && clear_of_taken(inner) && clear_of_taken(pointer);
    if (fits) taken << inner << pointer;
    mark.pointer->setVisible(marks_visible_ && fits);
    mark.frame->setVisible(marks_visible_ && fits);
  }
}

void HistogramChart::ScaleAxes() {
  QList<QPointF> points = bars_;
  points << series2_->points();
  if (points.isEmpty()) return;  // an empty chart keeps its last scale

  double x_min = points.first().x();
  double x_max = x_min;
  double y_min = 0;
  double y_max = 0;
  for (const QPointF& p : points) {
    x_min = std::min(x_min, p.x());
    x_max = std::max(x_max, p.x());
    y_min = std::min(y_min, p.y());
    y_max = std::max(y_max, p.y());
  }
  if (!bars_.isEmpty()) {
    x_min = std::min(x_min, bars_.first().x() - slot_width_ / 2);
    x_max = std::max(x_max, bars_.last().x() + slot_width_ / 2);
  }
  if (x_max <= x_min) {
    x_min -= 1;
    x_max += 1;
  }
  if (y_max <= y_min) y_max = y_min + 1;
  axis_x_->setRange(x_min, x_max);
  axis_y_->setRange(y_min, y_max * (marks_visible_ && !bars_.isEmpty() ? kHeadroomWithMarks
                                                                       : kHeadroomWithoutMarks));
  axis_y_->applyNiceNumbers();
  PlaceMarks();
}

}  // namespace ixo

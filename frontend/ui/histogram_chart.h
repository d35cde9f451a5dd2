// The histogram window's chart `Chart1`: the bars `Series1` (navy, half of
// their slot wide, centred on the bin centres, each with a value mark on a
// 20-pixel pointer line above it) and the line `Series2` (red, 3 pixels, no
// point markers) on one pair of automatically scaled value axes, without
// legend or title. Marks that would overlap one drawn before them are left
// out, the marks of the higher bars drawn first, so that every mark on screen
// stays readable (with many narrow bins only some of them are drawn). Qt Charts has no bars on a
// numeric axis and no pointer marks, so the bars are one filled step outline and the marks a small
// overlay of text and line items placed with QChart::mapToPosition.
#pragma once

#include <QChartView>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>

class QAreaSeries;
class QGraphicsLineItem;
class QGraphicsRectItem;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QValueAxis;

namespace ixo {

class HistogramChart : public QChartView {
  Q_OBJECT

 public:
  // An empty chart; the marks show numbers with `decimal_separator`.
  explicit HistogramChart(char decimal_separator, QWidget* parent = nullptr);
  ~HistogramChart() override;

  // Series1: replaces the bars by one bar per point (x = slot centre, y =
  // height), in the order given, each half of `slot_width` wide; an empty list
  // clears them. The x axis spans the slots of the first and last bar.
  void SetBars(const QList<QPointF>& bars, double slot_width);
  const QList<QPointF>& Bars() const { return bars_; }

  // Series2: replaces the line's points; an empty list clears it.
  void SetCurve(const QList<QPointF>& curve);
  QList<QPointF> Curve() const;

  // Shows or hides the value marks of Series1, now and for later bars.
  void SetMarksVisible(bool visible);
  bool MarksVisible() const { return marks_visible_; }

  // The texts of the value marks, one per bar, drawn or left out.
  QStringList MarkTexts() const;

  // The frames of the marks on screen, in chart coordinates and bar order:
  // none while the marks are hidden, and none of a mark left out for want of room.
  QList<QRectF> ShownMarkFrames() const;

  // The pointer lines of the value marks in chart coordinates, each from its
  // bar's top up to its label.
  QList<QLineF> MarkPointers() const;

 private:
  void RebuildBars();
  void RebuildMarks();
  void PlaceMarks();
  void ShowMarksThatFit();
  void ScaleAxes();

  char decimal_separator_;
  QList<QPointF> bars_;
  QLineSeries* bar_outline_;  // upper edge of the filled bars
  QLineSeries* bar_base_;     // the zero line the bars stand on
  QAreaSeries* series1_;
  QLineSeries* series2_;
  QValueAxis* axis_x_;
  QValueAxis* axis_y_;
  bool marks_visible_ = true;
  double slot_width_ = 0;

  // One value mark: a pointer line up from the bar's top, a framed label on it.
  struct Mark {
    QGraphicsLineItem* pointer;
    QGraphicsRectItem* frame;
    QGraphicsSimpleTextItem* text;
  };
  QList<Mark> marks_;
};

}  // namespace ixo

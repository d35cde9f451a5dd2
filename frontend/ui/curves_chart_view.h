// The chart of the "Correlation integrals" window: ln(pairs) against
// ln(eps / spread), one colour per dimension. For dimension m the used points
// are the filled series "m=m" (the one the legend names), the skipped points a
// hollow series of the same colour, and the fitted line a thin black line
// across the used points, drawn above them (Qt Charts draws every scatter
// series above every line series, so the lines are items of their own, placed
// with QChart::mapToPosition like the histogram's marks). Only the used points
// have a legend entry. Fonts and
// colours follow the histogram's chart: the design font, a white background,
// navy and red first.
#pragma once

#include <QChartView>
#include <QLineF>
#include <QList>

class QGraphicsLineItem;
class QValueAxis;

namespace ixo {

struct CurvesChart;

class CurvesChartView : public QChartView {
  Q_OBJECT

 public:
  explicit CurvesChartView(QWidget* parent = nullptr);
  ~CurvesChartView() override;

  // Replaces every series by those of `chart` and sets the axes to its range.
  void SetCurves(const CurvesChart& chart);

  // The legend's series, one per dimension, in the order drawn.
  QList<QAbstractSeries*> DimensionSeries() const;

  // The fitted lines in chart values, one per dimension with two used points or more.
  QList<QLineF> FitLines() const;

 private:
  void PlaceFits();

  struct Fit {
    QLineF line;  // in chart values
    QGraphicsLineItem* item;
  };
  QList<Fit> fits_;
  QValueAxis* axis_x_;
  QValueAxis* axis_y_;
};

}  // namespace ixo

// The chart of the "Correlation integrals" window: ln(pairs) against
// ln(eps / spread), one colour per dimension. For dimension m the used points
// are the filled series "m=m" (the one the legend names), the skipped points a
// hollow series of the same colour and the fitted line a thin line over the
// used points; only the first of the three has a legend entry. Fonts and
// colours follow the histogram's chart: the design font, a white background,
// navy and red first.
#pragma once

#include <QChartView>
#include <QList>

class QValueAxis;

namespace ixo {

struct CurvesChart;

class CurvesChartView : public QChartView {
  Q_OBJECT

 public:
  explicit CurvesChartView(QWidget* parent = nullptr);

  // Replaces every series by those of `chart` and sets the axes to its range.
  void SetCurves(const CurvesChart& chart);

  // The legend's series, one per dimension, in the order drawn.
  QList<QAbstractSeries*> DimensionSeries() const;

 private:
  QValueAxis* axis_x_;
  QValueAxis* axis_y_;
};

}  // namespace ixo

#include "ui/bin_count_field.h"

#include "analysis/histogram_bins.h"

namespace ixo {

BinCountField::BinCountField(int value, QWidget* parent) : QSpinBox(parent) {
  setRange(1, kMaxBins);
  setValue(value);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

QValidator::State BinCountField::validate(QString& text, int& pos) const {
  const QValidator::State state = QSpinBox::validate(text, pos);
  if (state == QValidator::Invalid && BinCountCorrection(text.toStdString())) {
    return QValidator::Intermediate;
  }
  return state;
}

void BinCountField::fixup(QString& text) const {
  if (const std::optional<int> bins = BinCountCorrection(text.toStdString())) {
    text = QString::number(*bins);
    return;
  }
  QSpinBox::fixup(text);
}

}  // namespace ixo

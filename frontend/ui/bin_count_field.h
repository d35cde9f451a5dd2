// The histogram window's bin-count field SpinEdit1: an integer from 1 to
// kMaxBins with up and down buttons. A number typed beyond the limits may
// stand while the field has the focus, so that "99" reads as 99 rather than
// losing its second digit; leaving the field, or Enter, brings it to the
// nearer limit.
#pragma once

#include <QSpinBox>

namespace ixo {

class BinCountField final : public QSpinBox {
 public:
  // A field of 1 to kMaxBins showing `value`.
  explicit BinCountField(int value, QWidget* parent = nullptr);

 protected:
  // An integer outside the range is Intermediate, not Invalid, while typed.
  QValidator::State validate(QString& text, int& pos) const override;
  // Brings such an integer to the nearer limit.
  void fixup(QString& text) const override;
};

}  // namespace ixo

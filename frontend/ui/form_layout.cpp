#include "ui/form_layout.h"

#include <QLabel>

#include "ui/design_font.h"

namespace ixo {

QLabel* PlaceLabel(QWidget* parent, const QString& text, int left, int top, const char* name) {
  auto* label = new QLabel(text, parent);
  if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QLabel* PlaceValueLabel(QWidget* parent, const char* name, int left, int top) {
  QLabel* label = PlaceLabel(parent, QStringLiteral("0"), left, top, name);
  label->setFont(DesignFont(/*bold=*/true));
  // Values grow to the right as they are written; leave room up to the group's edge.
  label->resize(parent->width() - left - 4, label->height());
  return label;
}

void ApplyGroupBoxLook(QWidget* window) {
  window->setStyleSheet(QStringLiteral(
      "QGroupBox { border: 2px groove palette(mid); border-radius: 0px; margin-top: 6px; }"
      "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
      " left: 6px; top: 0px; padding: 0px; }"));
}

void PlaceStatistics(QWidget* group, const std::array<const char*, 7>& names,
                     const std::array<QLabel**, 7>& values) {
  struct Row {
    const char* caption;
    int caption_top;
    int value_left;
    int value_top;
  };
  static constexpr Row kRows[] = {
      {"Input filename:", 24, 79, 25},
      {"Number of observations:", 40, 126, 40},
      {"Skipped observations:", 56, 116, 56},
      {"Mean:", 72, 43, 72},
      {"Standard deviation:", 88, 103, 88},
      {"Spread:", 104, 47, 104},
      {"Standard deviation/spread:", 120, 143, 120},
  };
  for (size_t i = 0; i < values.size(); ++i) {
    PlaceLabel(group, QString::fromLatin1(kRows[i].caption), 8, kRows[i].caption_top);
    *values[i] = PlaceValueLabel(group, names[i], kRows[i].value_left, kRows[i].value_top);
  }
}

}  // namespace ixo

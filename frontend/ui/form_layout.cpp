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

void PlaceStatisticsCaptions(QWidget* group) {
  PlaceLabel(group, QStringLiteral("Input filename:"), 8, 24);
  PlaceLabel(group, QStringLiteral("Number of observations:"), 8, 40);
  PlaceLabel(group, QStringLiteral("Skipped observations:"), 8, 56);
  PlaceLabel(group, QStringLiteral("Mean:"), 8, 72);
  PlaceLabel(group, QStringLiteral("Standard deviation:"), 8, 88);
  PlaceLabel(group, QStringLiteral("Spread:"), 8, 104);
  PlaceLabel(group, QStringLiteral("Standard deviation/spread:"), 8, 120);
}

}  // namespace ixo

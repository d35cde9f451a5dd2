// Small helpers that place the windows' controls at their designed pixel
// positions, in the design font, with their layout names as object names.
#pragma once

#include <QString>
#include <array>

class QLabel;
class QWidget;

namespace ixo {

// Sets `widget`'s object name and geometry in one step; returns `widget`.
template <typename W>
W* Place(W* widget, const char* name, int left, int top, int width, int height) {
  if (name != nullptr) widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

// A plain label whose top-left corner is (left, top), sized to its text.
QLabel* PlaceLabel(QWidget* parent, const QString& text, int left, int top,
                   const char* name = nullptr);

// A bold value label showing "0", as the statistics show before any import.
QLabel* PlaceValueLabel(QWidget* parent, const char* name, int left, int top);

// Gives the group boxes of `window` the designed look: an etched frame whose
// top line runs through the middle of the caption, the caption at the left.
void ApplyGroupBoxLook(QWidget* window);

// The seven caption labels of a " Descriptive statistics " group, at the same
// places on both test pages, each followed by its bold value label. `names`
// and `values` are the value labels' layout names and members, in caption
// order: file name, observations, skipped, mean, standard deviation, spread,
// standard deviation/spread.
void PlaceStatistics(QWidget* group, const std::array<const char*, 7>& names,
                     const std::array<QLabel**, 7>& values);

}  // namespace ixo

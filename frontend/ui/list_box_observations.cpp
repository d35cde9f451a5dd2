#include "ui/list_box_observations.h"

#include <QListWidget>

namespace ixo {

int ListBoxObservations::Count() const {
  return list_box_.count();
}

std::string ListBoxObservations::Item(int i) const {
  return list_box_.item(i)->text().toStdString();
}

void ListBoxObservations::Append(const std::string& text) {
  list_box_.addItem(QString::fromStdString(text));
}

void ListBoxObservations::Replace(int i, const std::string& text) {
  list_box_.item(i)->setText(QString::fromStdString(text));
}

void ListBoxObservations::Clear() {
  list_box_.clear();
}

}  // namespace ixo

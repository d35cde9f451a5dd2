// The observation list over the main window's list box ListBox1: the import
// fills it and the histogram window rewrites it through ixo::ObservationList,
// so the series the user sees is always the one the analysis code works on.
#pragma once

#include <string>

#include "analysis/observation_list.h"

class QListWidget;

namespace ixo {

class ListBoxObservations final : public ObservationList {
 public:
  // `list_box` must outlive this adapter.
  explicit ListBoxObservations(QListWidget& list_box) : list_box_(list_box) {}

  int Count() const override;
  std::string Item(int i) const override;  // 0 <= i < Count()
  void Append(const std::string& text) override;
  void Replace(int i, const std::string& text) override;  // 0 <= i < Count()
  void Clear() override;

 private:
  QListWidget& list_box_;
};

}  // namespace ixo

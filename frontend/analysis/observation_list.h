// The observation list: the front end's in-memory copy of the series, held as the
// item texts of the main window's list box. The import fills it and the histogram
// window rewrites it; the window implements this over its list widget, the tests
// and the toolkit-free code over a vector.
#pragma once

#include <string>
#include <vector>

namespace ixo {

class ObservationList {
 public:
  virtual ~ObservationList() = default;
  virtual int Count() const = 0;
  virtual std::string Item(int i) const = 0;  // 0 <= i < Count()
  virtual void Append(const std::string& text) = 0;
  virtual void Replace(int i, const std::string& text) = 0;
  virtual void Clear() = 0;
};

class VectorObservationList final : public ObservationList {
 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string Item(int i) const override { return items_.at(static_cast<size_t>(i)); }
  void Append(const std::string& text) override { items_.push_back(text); }
  void Replace(int i, const std::string& text) override {
    items_.at(static_cast<size_t>(i)) = text;
  }
  void Clear() override { items_.clear(); }
  const std::vector<std::string>& items() const { return items_; }

 private:
  std::vector<std::string> items_;
};

}  // namespace ixo

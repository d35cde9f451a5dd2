#include "progress_bar.h"

namespace ixo {
namespace {

constexpr int kWidth = 30;
constexpr int kLabelWidth = 36;

}  // namespace

ProgressBar::ProgressBar(std::FILE* out, bool enabled) : out_(out), enabled_(enabled) {}

ProgressBar::~ProgressBar() {
  Clear();
}

void ProgressBar::Show(const std::string& label, int done, int total) {
  if (!enabled_) return;
  const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 100;
  if (percent == percent_ && label == label_) return;
  percent_ = percent;
  label_ = label;
  const int filled = percent * kWidth / 100;
  std::string shown = label.size() > kLabelWidth ? "..." + label.substr(label.size() - 33) : label;
  std::fprintf(out_, "\r[%s%s] %3d%% %-*s", std::string(filled, '#').c_str(),
               std::string(kWidth - filled, '.').c_str(), percent, kLabelWidth, shown.c_str());
  std::fflush(out_);
  shown_ = true;
}

void ProgressBar::Clear() {
  if (!shown_) return;
  std::fprintf(out_, "\r%*s\r", kWidth + kLabelWidth + 8, "");
  std::fflush(out_);
  shown_ = false;
  percent_ = -1;
}

}  // namespace ixo

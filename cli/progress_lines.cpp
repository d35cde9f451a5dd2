#include "progress_lines.h"

#include <cerrno>
#include <cinttypes>
#include <cstring>

namespace ixo {

Result<ProgressLines> ProgressLines::Open(const std::string& path, std::int64_t total,
                                          std::FILE* standard_error) {
  ProgressLines lines;
  if (path == "-") {
    lines.file_ = std::unique_ptr<std::FILE, ProgressFileCloser>(standard_error, {false});
  } else {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
      return Failure<ProgressLines>("cannot write the progress file '" + path +
                                    "': " + std::strerror(errno));
    }
    lines.file_.reset(file);
  }
  lines.total_ = total;
  lines.Show(0);
  return {std::move(lines), {}};
}

void ProgressLines::Show(std::int64_t done) {
  if (file_ == nullptr || total_ <= 0 || finished_) return;
  const int percent = static_cast<int>(done * 100 / total_);
  if (percent == percent_ && done < total_) return;
  percent_ = percent;
  finished_ = done >= total_;
  std::fprintf(file_.get(), "progress %" PRId64 " %" PRId64 "\n", done, total_);
  std::fflush(file_.get());
}

Result<ProgressLines> OpenProgressLines(const Arguments& a, std::int64_t total,
                                        std::FILE* standard_error) {
  const auto found = a.options.find(kProgressFileOption);
  if (found == a.options.end()) return {ProgressLines{}, {}};
  return ProgressLines::Open(found->second, total, standard_error);
}

}  // namespace ixo

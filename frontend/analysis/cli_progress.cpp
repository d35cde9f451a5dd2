#include "analysis/cli_progress.h"

#include <charconv>

namespace ixo {
namespace {

// Far above any run's permutations; keeps done * 100 inside 64 bits.
constexpr std::int64_t kMaxCount = 1'000'000'000'000'000;

std::optional<std::int64_t> WholeNumber(std::string_view field) {
  std::int64_t value = 0;
  const char* end = field.data() + field.size();
  const auto [stop, error] = std::from_chars(field.data(), end, value);
  if (field.empty() || error != std::errc() || stop != end || field[0] == '-') return std::nullopt;
  return value;
}

std::optional<CliProgress> ProgressLine(std::string_view line) {
  constexpr std::string_view kWord = "progress ";
  if (!line.starts_with(kWord)) return std::nullopt;
  line.remove_prefix(kWord.size());
  const size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::optional<std::int64_t> done = WholeNumber(line.substr(0, blank));
  const std::optional<std::int64_t> total = WholeNumber(line.substr(blank + 1));
  if (!done || !total || *total <= 0 || *total > kMaxCount || *done > *total) {
    return std::nullopt;
  }
  return CliProgress{*done, *total};
}

}  // namespace

std::optional<CliProgress> LastProgress(std::string_view text) {
  std::optional<CliProgress> last;
  for (size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n')) {
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (const std::optional<CliProgress> progress = ProgressLine(line)) last = progress;
    text.remove_prefix(end + 1);
  }
  return last;
}

int ProgressPercent(const CliProgress& progress) {
  // done <= total <= kMaxCount, so the product stays inside 64 bits.
  return static_cast<int>(progress.done * 100 / progress.total);
}

std::string PValueStepMark(const std::optional<CliProgress>& progress, int seconds) {
  if (progress) return "[p-values " + std::to_string(ProgressPercent(*progress)) + " %]";
  if (seconds >= 1) return "[p-values, " + std::to_string(seconds) + " s]";
  return "[p-values]";
}

}  // namespace ixo

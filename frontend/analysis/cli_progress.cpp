#include "analysis/cli_progress.h"

#include "tables/whole_numbers.h"

namespace ixo {
namespace {

// Far above any run's permutations; keeps done * 100 inside 64 bits.
constexpr std::int64_t kMaxCount = 1'000'000'000'000'000;

// A count in decimal digits alone, up to kMaxCount.
std::optional<std::int64_t> Count(std::string_view field) {
  const std::optional<std::uint64_t> value = WholeUnsigned(field);
  if (!value || *value > static_cast<std::uint64_t>(kMaxCount)) return std::nullopt;
  return static_cast<std::int64_t>(*value);
}

std::optional<CliProgress> ProgressLine(std::string_view line) {
  constexpr std::string_view kWord = "progress ";
  if (!line.starts_with(kWord)) return std::nullopt;
  line.remove_prefix(kWord.size());
  const size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  const std::optional<std::int64_t> done = Count(line.substr(0, blank));
  const std::optional<std::int64_t> total = Count(line.substr(blank + 1));
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

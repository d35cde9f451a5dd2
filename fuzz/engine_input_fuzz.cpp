// Fuzz target: the engine's command line and its reading of the series file,
// both from one input, then the checks and the counting they lead to.
//
// Input layout: byte 0 modulo 10 is the number of arguments after the program
// name; then that many arguments, each ended by a NUL byte (fewer when the
// input runs out); the rest is the content of the series file. The file lives
// in a memfd, so the engine's own path-based reading is what runs.
//
// Checked: a run the command line accepts has every option within its range; a
// series file reads either to finite values with no error or to an error line
// with no values, and its values are strtod's readings of its tokens, bit for
// bit (plain decimals take a quicker reader); statistics that pass the
// engine's checks give a distance grid of non-negative points. (The counting
// itself is pair_counts_fuzz.)
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "grid.h"
#include "memory_file.h"
#include "options.h"
#include "series_file.h"
#include "statistics.h"

namespace {

// The whitespace-separated tokens of `text`, each read by strtod.
std::vector<double> StrtodReadings(const uint8_t* text, size_t size) {
  std::vector<double> values;
  std::string token;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || std::isspace(text[i])) {
      if (!token.empty()) values.push_back(std::strtod(token.c_str(), nullptr));
      token.clear();
    } else {
      token.push_back(static_cast<char>(text[i]));
    }
  }
  return values;
}

void CheckOptions(const ixo::Options& o) {
  IXO_FUZZ_CHECK(o.m >= 1 && o.m <= ixo::kMaxDimension);
  IXO_FUZZ_CHECK(o.eps_low > 0 && std::isfinite(o.eps_low));
  IXO_FUZZ_CHECK(o.eps_high > 0 && std::isfinite(o.eps_high));
  IXO_FUZZ_CHECK(o.subint >= 1 && o.subint <= ixo::kMaxSubintervals);
  IXO_FUZZ_CHECK(o.cm_limit >= 0);
}

// The distance grid of the run: every point a positive number, except that
// ends at the very edge of the double range may round to 0 or infinity.
void CheckGrid(const ixo::Options& o, double sd) {
  const ixo::DistanceGrid grid(o.eps_low, o.eps_high, sd, o.subint);
  IXO_FUZZ_CHECK(grid.size() == o.subint + 1);
  for (const int k : {0, o.subint / 2, o.subint}) IXO_FUZZ_CHECK(grid.Point(k) >= 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ixo::fuzz::MemoryFile series_file;
  if (size == 0) return 0;

  std::vector<std::string> arguments{"ixo_engine"};
  const int count = data[0] % 10;
  size_t at = 1;
  for (int i = 0; i < count && at < size; ++i) {
    std::string argument;
    while (at < size && data[at] != 0) argument.push_back(static_cast<char>(data[at++]));
    ++at;  // the NUL, or the end
    arguments.push_back(std::move(argument));
  }
  at = std::min(at, size);
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);

  const ixo::CommandLine command_line =
      ixo::ParseCommandLine(static_cast<int>(arguments.size()), argv.data());
  switch (command_line.action) {
    case ixo::CommandLine::Action::kShowUsage:
      IXO_FUZZ_CHECK(arguments.size() == 1);
      return 0;
    case ixo::CommandLine::Action::kFail:
      // One line, unless an argument quoted in it holds a line break itself.
      IXO_FUZZ_CHECK(!command_line.error.empty());
      return 0;
    case ixo::CommandLine::Action::kRun:
      CheckOptions(command_line.options);
      IXO_FUZZ_CHECK(command_line.options.filename == arguments[1]);
      break;
  }

  series_file.Replace(data + at, size - at);
  const ixo::SeriesFile series = ixo::ReadSeriesFile(series_file.path());
  if (!series.error.empty()) {
    IXO_FUZZ_CHECK(series.values.empty());
    IXO_FUZZ_CHECK(series.error.find('\n') == std::string::npos);
    return 0;
  }
  for (const double v : series.values) IXO_FUZZ_CHECK(std::isfinite(v));
  const std::vector<double> expected = StrtodReadings(data + at, size - at);
  IXO_FUZZ_CHECK(expected.size() == series.values.size());
  for (size_t i = 0; i < expected.size(); ++i)
    IXO_FUZZ_CHECK(std::memcmp(&expected[i], &series.values[i], sizeof(double)) == 0);

  // The engine's own checks before the counting: enough values for m, finite
  // statistics, a spread, and grid ends within the double range.
  const ixo::Options& o = command_line.options;
  const std::vector<double>& x = series.values;
  if (x.size() < 2 || static_cast<size_t>(o.m) > x.size() - 1) return 0;
  const ixo::Statistics stats = ixo::Describe(x);
  if (!std::isfinite(stats.mean) || !std::isfinite(stats.sd) || !std::isfinite(stats.spread) ||
      stats.sd == 0) {
    return 0;
  }
  IXO_FUZZ_CHECK(stats.minimum <= stats.maximum && stats.spread >= 0);
  for (const double eps : {o.eps_low * stats.sd, o.eps_high * stats.sd}) {
    if (!(eps > 0) || !std::isfinite(eps)) return 0;
  }
  CheckGrid(o, stats.sd);
  return 0;
}

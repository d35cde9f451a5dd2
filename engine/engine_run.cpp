#include "engine_run.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "bds.h"
#include "bds_integrals.h"
#include "correlation_integrals.h"
#include "elapsed_time.h"
#include "grid.h"
#include "ixo_settings.h"
#include "ixo_slopes.h"
#include "options.h"
#include "report.h"
#include "result_file.h"
#include "series_file.h"
#include "statistics.h"

namespace ixo {
namespace {

constexpr const char* kResultFile = "output.tmp";

int Fail(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

std::string Quoted(const std::string& text) {
  return "'" + text + "'";
}

// Empty when the number of values admits the run; else the reason.
std::string CheckCount(const Options& o, size_t n) {
  if (n < 2) {
    return "ixo_engine: " + Quoted(o.filename) + " holds " + std::to_string(n) +
           " value(s); at least 2 are needed";
  }
  if (n > static_cast<size_t>(INT_MAX)) {
    return "ixo_engine: " + Quoted(o.filename) + " holds more than " + std::to_string(INT_MAX) +
           " values";
  }
  if (static_cast<size_t>(o.m) > n - 1) {
    return "ixo_engine: m = " + std::to_string(o.m) + " needs at least " + std::to_string(o.m + 1) +
           " values; " + Quoted(o.filename) + " holds " + std::to_string(n);
  }
  return {};
}

// Empty when the statistics admit a distance grid; else the reason.
std::string CheckStatistics(const Options& o, const Statistics& s) {
  if (!std::isfinite(s.mean) || !std::isfinite(s.sd) || !std::isfinite(s.spread)) {
    return "ixo_engine: the values of " + Quoted(o.filename) +
           " are too large for their mean and sd to be computed";
  }
  if (s.sd == 0) return "ixo_engine: " + Quoted(o.filename) + " is a constant series (sd = 0)";
  for (double eps : {o.eps_low * s.sd, o.eps_high * s.sd}) {
    if (!(eps > 0) || !std::isfinite(eps)) {
      return "ixo_engine: eps_low or eps_high times the sd of " + Quoted(o.filename) +
             " is out of the double range";
    }
  }
  return {};
}

int Run(int argc, const char* const* argv, CountingPath path, PairCountPath pair_count_path) {
  const CommandLine command_line = ParseCommandLine(argc, argv);
  if (command_line.action == CommandLine::Action::kShowUsage) {
    PrintUsage(stdout);
    return 0;
  }
  if (command_line.action == CommandLine::Action::kFail) {
    if (command_line.usage_too) PrintUsage(stdout);
    return Fail(command_line.error);
  }
  const Options& o = command_line.options;
  const ClockReading start = ReadClock();

  SeriesFile file = ReadSeriesFile(o.filename);
  if (!file.error.empty()) return Fail(file.error);
  const std::vector<double>& x = file.values;
  if (std::string why = CheckCount(o, x.size()); !why.empty()) return Fail(why);
  const int n = static_cast<int>(x.size());
  const Statistics stats = Describe(x);
  if (std::string why = CheckStatistics(o, stats); !why.empty()) return Fail(why);

  double result = 0;  // of dimension m: its Ixo value, or its BDS statistic
  if (o.write_mode != WriteMode::kBds) {
    PrintHeader(stdout, o, n, stats);
    // Write mode 1 visits dimension m alone; no dimension at all when m is 1.
    const int first = o.write_mode == WriteMode::kIxoValue ? std::max(o.m, 2) : 2;
    const IxoSettings settings{o.eps_low, o.eps_high, o.subint, o.cm_limit, o.m};
    Result<SlopeInput> input = SlopeInputFor(x, settings);
    if (!input.ok()) return Fail("ixo_engine: " + Quoted(o.filename) + ": " + input.error);
    input.value->path = path;
    input.value->pair_count_path = pair_count_path;
    for (const DimensionSlope& d : IxoSlopes(*input.value, first, o.m)) {
      PrintDimension(stdout, d.dimension, d.slope, d.points);
      if (d.dimension == o.m) result = d.slope;
    }
  } else {
    // Decided before anything is printed: a refusal leaves standard output empty.
    const double eps = o.eps_low * stats.sd;
    const KernelResult k = path == CountingPath::kKernel
                               ? correlation_integrals(x, o.m, eps)
                               : BdsIntegrals(x, o.m, eps, pair_count_path);
    if (!(BdsVariance(k.K, k.c, o.m) > 0)) {
      release_tables();
      return Fail("ixo_engine: the BDS variance is not positive for m = " + std::to_string(o.m) +
                  " and eps_low " + std::to_string(o.eps_low) + "; no BDS statistic");
    }
    result = std::sqrt(static_cast<double>(n - o.m + 1)) *
             bds_ratio(k.integrals[1], k.integrals[o.m], k.K, k.c, o.m);
    PrintHeader(stdout, o, n, stats);
    PrintBds(stdout, result);
  }

  PrintFooter(stdout, ElapsedSeconds(start, ReadClock()));
  release_tables();

  if (o.write_mode != WriteMode::kReportOnly) {
    std::fflush(stdout);
    if (std::string why = WriteResultFile(kResultFile, result); !why.empty()) return Fail(why);
  }
  return 0;
}

}  // namespace

int RunEngine(int argc, const char* const* argv, CountingPath path, PairCountPath pair_count_path) {
  try {
    return Run(argc, argv, path, pair_count_path);
  } catch (const std::bad_alloc&) {
    std::printf("Out of memory\n");
    return -1;
  }
}

}  // namespace ixo

// ixo_cli bds: per file, dimension and distance the BDS statistic with its
// normal and permutation p-values, raw and adjusted over the file's family;
// then the file's overall test.
#include <cstdio>

#include "ixo_settings.h"
#include "permutation_tests.h"
#include "progress_bar.h"
#include "sequential_option.h"
#include "series_input.h"
#include "subcommand.h"

namespace ixo {
namespace {

constexpr const char* kName = "bds";

constexpr const char* kHelp =
    "usage: ixo_cli bds FILE... [--m 10] [--eps 0.5,1,1.5,2] [--reps 999] [--sequential H]\n"
    "                   [--seed N] [--threads N] [--format table|csv|json] [--output PATH]\n"
    "\n"
    "The BDS statistic of each series FILE for dimensions 2..m at each distance (in\n"
    "standard deviations of the series), computed as ixo_engine's write mode 2 computes\n"
    "it, with its two-sided p-value from the standard normal law and its two-sided\n"
    "permutation p-value against --reps random orderings of the series.\n"
    "\n"
    "  --m M             largest embedding dimension, 2..16 (default 10)\n"
    "  --eps A,B,...     distances in standard deviations (default 0.5,1,1.5,2)\n"
    "  --reps R          permutations (default 999; 0: no permutation p-value)\n"
    "  --sequential H    stop drawing permutations once every p-value is certainly above\n"
    "                    10 %, as for ixo_cli ixo (default 0: all R)\n"
    "  --seed N          seed of the permutations (default 20040105: runs agree)\n"
    "  --threads N       threads, 0 for one per core (default 0); the results do not change\n"
    "  --format F        table, csv or json (default table)\n"
    "  --output PATH     write the results there, whole or not at all (default: stdout)\n"
    "\n"
    "Columns: file,n,m,eps,bds,p_normal,p_permutation,p_adjusted; the values stay\n"
    "empty where the BDS variance is not positive. The permutation p-value holds for\n"
    "any n, m and eps; `p_adjusted` is it adjusted over every m and eps of the file\n"
    "(step-down min-p from the same permutations). After each file's rows a row with\n"
    "m \"all\" gives the overall test of the file: the smallest adjusted p-value, in\n"
    "p_permutation and p_adjusted. The normal law is only the statistic's limit: p_normal stays "
    "empty where it\n"
    "is no fair approximation by the rule of thumb of the statistic's Monte Carlo\n"
    "studies, that is unless n >= 200 m and 0.5 <= eps <= 2 (at eps = 5 an i.i.d.\n"
    "series can give BDS -12, with too few pairs farther apart than eps).\n"
    "\n"
    "Exit status: 0 done, 1 bad data or output, 2 bad usage.\n";

int Run(std::span<const std::string> args, const CliIo& io) {
  const std::vector<const char*> names = WithCommonOptions({"m", "eps", kSequentialOption});
  const CommandStart start = StartCommand(args, names, io, kName, kHelp);
  if (start.done) return *start.done;
  const Arguments& a = start.arguments;
  const Result<CommonOptions> common = ReadCommonOptions(a, 999);
  if (!common.ok()) return UsageError(io, kName, common.error);
  int m = 10;
  std::vector<double> eps = {0.5, 1, 1.5, 2};
  if (const auto it = a.options.find("m"); it != a.options.end()) {
    const Result<long long> p = ParseInteger("m", it->second, 2, kMaxDimension);
    if (!p.ok()) return UsageError(io, kName, p.error);
    m = static_cast<int>(*p.value);
  }
  if (const auto it = a.options.find("eps"); it != a.options.end()) {
    Result<std::vector<double>> p = ParseList("eps", it->second);
    if (!p.ok()) return UsageError(io, kName, p.error);
    eps = std::move(*p.value);
  }
  const Result<long long> sequential = ReadSequential(a);
  if (!sequential.ok()) return UsageError(io, kName, sequential.error);
  if (a.files.empty()) return UsageError(io, kName, "no series file given");

  const Result<std::vector<SeriesInput>> inputs = ReadSeriesFiles(a.files);
  if (!inputs.ok()) return DataError(io, inputs.error);

  ResultTable table;
  table.columns = {"file", "n", "m", "eps", "bds", "p_normal", "p_permutation", "p_adjusted"};
  ProgressBar bar(io.err, io.progress);
  for (const SeriesInput& input : *inputs.value) {
    Simulation simulation = SimulationOf(
        *common.value, io, [&](int done, int total) { bar.Show(input.path, done, total); });
    simulation.sequential = static_cast<int>(*sequential.value);
    const Result<BdsPermutationTest> test = PermutationTestBds(input.values, m, eps, simulation);
    if (!test.ok()) {
      bar.Clear();
      return DataError(io, "'" + input.path + "': " + test.error);
    }
    const auto n = static_cast<long long>(input.values.size());
    for (const BdsValue& v : test.value->values) {
      table.rows.push_back({TextCell(input.path), IntegerCell(n), IntegerCell(v.m),
                            NumberCell(v.eps), NumberCell(v.bds), NumberCell(v.p_normal),
                            NumberCell(v.p_permutation), NumberCell(v.p_adjusted)});
    }
    table.rows.push_back({TextCell(input.path), IntegerCell(n), TextCell("all"), Cell{}, Cell{},
                          Cell{}, NumberCell(test.value->p_overall),
                          NumberCell(test.value->p_overall)});
  }
  bar.Clear();
  return Deliver(io, *common.value, table);
}

}  // namespace

const Subcommand kBdsSubcommand{kName, "BDS statistics with normal and permutation p-values", kHelp,
                                Run};

}  // namespace ixo

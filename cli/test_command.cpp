// ixo_cli test: per file one exact test of the i.i.d. hypothesis over the Ixo
// values and the BDS statistics of the same permuted copies.
#include <cmath>

#include "ixo_settings_options.h"
#include "joint_test.h"
#include "progress_bar.h"
#include "sequential_option.h"
#include "series_input.h"
#include "step_down_min_p.h"
#include "subcommand.h"
#include "tables/critical_values.h"

namespace ixo {
namespace {

constexpr const char* kName = "test";

constexpr const char* kHelp =
    "usage: ixo_cli test FILE... [--m 10] [--eps 0.60:1.90] [--subint 40] [--cm-limit 50]\n"
    "                    [--bds-eps 0.5,1,1.5,2] [--reps 999] [--sequential H] [--seed N]\n"
    "                    [--threads N] [--rows file|statistic] [--format table|csv|json]\n"
    "                    [--output PATH]\n"
    "\n"
    "One exact test of the i.i.d. hypothesis per series FILE for a user who does not\n"
    "know which kind of dependence to expect: the Ixo values of dimensions 2..m (as\n"
    "ixo_cli ixo computes them) and the BDS statistics of dimensions 2..m at each\n"
    "--bds-eps distance (as ixo_cli bds computes them) on the same --reps random\n"
    "orderings of the series, and one overall p-value over all of them: the smallest\n"
    "of their p-values, calibrated by the same permutations (step-down min-p). With\n"
    "the same seed every statistic's p-value is the one ixo_cli ixo or bds gives.\n"
    "\n"
    "  --m M             largest embedding dimension, 2..16 (default 10)\n"
    "  --eps LOW:HIGH    the Ixo distance range in standard deviations (default 0.60:1.90)\n"
    "  --subint K        intervals of the Ixo distance grid, 1..10000 (default 40)\n"
    "  --cm-limit C      an Ixo grid point counts with more close pairs than C (default 50)\n"
    "  --bds-eps A,B,... BDS distances in standard deviations (default 0.5,1,1.5,2)\n"
    "  --reps R          permutations, at least 1 (default 999)\n"
    "  --sequential H    stop drawing permutations once every p-value is certainly above\n"
    "                    10 %, as for ixo_cli ixo (default 0: all R)\n"
    "  --seed N          seed of the permutations (default 20040105: runs agree)\n"
    "  --threads N       threads, 0 for one per core (default 0); the results do not change\n"
    "  --rows R          file: one row per series; statistic: one row per statistic of\n"
    "                    each series, then its overall row (default file)\n"
    "  --format F        table, csv or json (default table)\n"
    "  --output PATH     write the results there, whole or not at all (default: stdout)\n"
    "\n"
    "Columns: file,n,p_overall,verdict,smallest,p_smallest. `verdict` is that of\n"
    "p_overall at the levels 1, 2, 5 and 10 %; `smallest` names the statistic with\n"
    "the smallest p-value (\"ixo m=3\", \"bds m=2 eps=0.5\") and p_smallest is that\n"
    "p-value, unadjusted. With --rows statistic: file,n,statistic,value,p_value,\n"
    "p_adjusted, where p_adjusted is adjusted over all the statistics of the series\n"
    "and the row with statistic \"all\" gives p_overall in both p columns.\n"
    "\n"
    "Exit status: 0 done, 1 bad data or output, 2 bad usage.\n";

int Run(std::span<const std::string> args, const CliIo& io) {
  std::vector<const char*> names = WithCommonOptions({"bds-eps", "rows", kSequentialOption});
  names.insert(names.end(), std::begin(kIxoSettingsOptions), std::end(kIxoSettingsOptions));
  const CommandStart start = StartCommand(args, names, io, kName, kHelp);
  if (start.done) return *start.done;
  const Arguments& a = start.arguments;
  const Result<CommonOptions> common = ReadCommonOptions(a, 999);
  if (!common.ok()) return UsageError(io, kName, common.error);
  const Result<IxoSettings> settings = ReadIxoSettings(a);
  if (!settings.ok()) return UsageError(io, kName, settings.error);
  const Result<long long> sequential = ReadSequential(a);
  if (!sequential.ok()) return UsageError(io, kName, sequential.error);
  std::vector<double> bds_eps = {0.5, 1, 1.5, 2};
  if (const auto it = a.options.find("bds-eps"); it != a.options.end()) {
    Result<std::vector<double>> p = ParseList("bds-eps", it->second);
    if (!p.ok()) return UsageError(io, kName, p.error);
    bds_eps = std::move(*p.value);
  }
  const auto rows = a.options.find("rows");
  const bool per_statistic = rows != a.options.end() && rows->second == "statistic";
  if (rows != a.options.end() && !per_statistic && rows->second != "file")
    return UsageError(io, kName, "--rows: '" + rows->second + "' is neither file nor statistic");
  if (common.value->reps < 1)
    return UsageError(io, kName, "--reps: the test needs at least 1 permutation");
  if (a.files.empty()) return UsageError(io, kName, "no series file given");

  const Result<std::vector<SeriesInput>> inputs = ReadSeriesFiles(a.files);
  if (!inputs.ok()) return DataError(io, inputs.error);

  ResultTable table;
  table.columns =
      per_statistic
          ? std::vector<std::string>{"file", "n", "statistic", "value", "p_value", "p_adjusted"}
          : std::vector<std::string>{"file", "n", "p_overall", "verdict", "smallest", "p_smallest"};
  ProgressBar bar(io.err, io.progress);
  for (const SeriesInput& input : *inputs.value) {
    Simulation simulation = SimulationOf(
        *common.value, io, [&](int done, int total) { bar.Show(input.path, done, total); });
    simulation.sequential = static_cast<int>(*sequential.value);
    const Result<JointPermutationTest> result =
        PermutationTestJoint(input.values, *settings.value, bds_eps, simulation);
    if (!result.ok()) {
      bar.Clear();
      return DataError(io, "'" + input.path + "': " + result.error);
    }
    const JointPermutationTest& test = *result.value;
    const Cell n = IntegerCell(static_cast<long long>(input.values.size()));
    if (per_statistic) {
      for (const JointMember& member : test.members)
        table.rows.push_back({TextCell(input.path), n, TextCell(member.name),
                              std::isnan(member.value) ? Cell{} : NumberCell(member.value),
                              NumberCell(member.p_value), NumberCell(member.p_adjusted)});
      table.rows.push_back({TextCell(input.path), n, TextCell("all"), Cell{},
                            NumberCell(test.p_overall), NumberCell(test.p_overall)});
      continue;
    }
    const JointMember* smallest = test.smallest < 0 ? nullptr : &test.members[test.smallest];
    table.rows.push_back({TextCell(input.path), n, NumberCell(test.p_overall),
                          TextCell(test.p_overall ? PValueVerdict(*test.p_overall) : "unknown"),
                          smallest ? TextCell(smallest->name) : Cell{},
                          NumberCell(smallest ? smallest->p_value : std::nullopt)});
  }
  bar.Clear();
  return Deliver(io, *common.value, table);
}

}  // namespace

const Subcommand kTestSubcommand{kName, "one overall test over the Ixo values and BDS statistics",
                                 kHelp, Run};

}  // namespace ixo

// ixo_cli critical: simulated critical values of the Ixo value for any n, in
// the layout of the tabulated ones.
#include <cstdio>

#include "critical_simulation.h"
#include "ixo_settings_options.h"
#include "progress_bar.h"
#include "subcommand.h"

namespace ixo {
namespace {

constexpr const char* kName = "critical";

constexpr const char* kHelp =
    "usage: ixo_cli critical --n N [--m 10] [--eps 0.60:1.90] [--subint 40] [--cm-limit 50]\n"
    "                        [--reps 20000] [--seed N] [--threads N]\n"
    "                        [--format table|csv|json] [--output PATH]\n"
    "\n"
    "Percentiles of the Ixo value of dimensions 2..m under the i.i.d. normal hypothesis:\n"
    "the Ixo values of --reps series of N independent standard normal values, computed\n"
    "as ixo_engine computes them. Percentile rule: linear interpolation between order\n"
    "statistics, the p-th percentile of R sorted values at position (R - 1) p / 100.\n"
    "\n"
    "  --n N             series length, 3..10000000\n"
    "  --m M             largest embedding dimension, 2..16 (default 10)\n"
    "  --eps LOW:HIGH    the distance range in standard deviations (default 0.60:1.90)\n"
    "  --subint K        intervals of the distance grid, 1..10000 (default 40)\n"
    "  --cm-limit C      a grid point counts with more close pairs than C (default 50)\n"
    "  --reps R          simulated series, at least 1 (default 20000)\n"
    "  --seed N          seed of the series (default 20040105: runs agree)\n"
    "  --threads N       threads, 0 for one per core (default 0); the results do not change\n"
    "  --format F        table, csv or json (default table)\n"
    "  --output PATH     write the results there, whole or not at all (default: stdout)\n"
    "\n"
    "Columns: n,m,reps,p0.5,p1,p2.5,p5,p95,p97.5,p99,p99.5,undefined. A series whose\n"
    "dimension m has no Ixo value (fewer than two usable grid points, or flat counts;\n"
    "ixo_engine prints \"---\") is left out of that dimension's percentiles and counted\n"
    "in `undefined`; where fewer than half of the series have a value, nothing is\n"
    "written and the command fails.\n"
    "\n"
    "Exit status: 0 done, 1 too few values or bad output, 2 bad usage.\n";

int Run(std::span<const std::string> args, const CliIo& io) {
  std::vector<const char*> names = WithCommonOptions({"n"});
  names.insert(names.end(), std::begin(kIxoSettingsOptions), std::end(kIxoSettingsOptions));
  const CommandStart start = StartCommand(args, names, io, kName, kHelp);
  if (start.done) return *start.done;
  const Arguments& a = start.arguments;
  if (!a.files.empty()) return UsageError(io, kName, "unexpected operand '" + a.files[0] + "'");
  const auto n_text = a.options.find("n");
  if (n_text == a.options.end()) return UsageError(io, kName, "--n is required");
  const Result<long long> n = ParseInteger("n", n_text->second, 3, 10'000'000);
  if (!n.ok()) return UsageError(io, kName, n.error);
  const Result<CommonOptions> common = ReadCommonOptions(a, 20000);
  if (!common.ok()) return UsageError(io, kName, common.error);
  const Result<IxoSettings> settings = ReadIxoSettings(a);
  if (!settings.ok()) return UsageError(io, kName, settings.error);
  if (common.value->reps < 1) return UsageError(io, kName, "--reps: at least one series is needed");
  const std::string refusal = CheckIxoSettings(*settings.value, static_cast<std::size_t>(*n.value));
  if (!refusal.empty()) return UsageError(io, kName, refusal);

  ProgressBar bar(io.err, io.progress);
  const std::string label = "n = " + std::to_string(*n.value);
  const Simulation simulation =
      SimulationOf(*common.value, io, [&](int done, int total) { bar.Show(label, done, total); });
  const Result<SimulatedCriticalValues> values =
      SimulateCriticalValues(static_cast<int>(*n.value), *settings.value, simulation);
  bar.Clear();
  if (!values.ok()) return DataError(io, values.error);

  ResultTable table;
  table.columns = {"n",  "m",   "reps",  "p0.5", "p1",    "p2.5",
                   "p5", "p95", "p97.5", "p99",  "p99.5", "undefined"};
  for (const CriticalRow& row : values.value->rows) {
    std::vector<Cell> cells = {IntegerCell(*n.value), IntegerCell(row.m),
                               IntegerCell(common.value->reps)};
    for (double v : row.values) cells.push_back(NumberCell(v));
    cells.push_back(IntegerCell(row.undefined));
    table.rows.push_back(std::move(cells));
  }
  return Deliver(io, *common.value, table);
}

}  // namespace

const Subcommand kCriticalSubcommand{kName, "simulated critical values for any sample size", kHelp,
                                     Run};

}  // namespace ixo

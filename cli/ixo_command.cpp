// ixo_cli ixo: per file and dimension the Ixo value, its usable grid points,
// the verdict of the tabulated critical values and the permutation p-value,
// raw and adjusted over the dimensions; then the file's overall test.
#include <cstdint>
#include <cstdio>

#include "ixo_settings_options.h"
#include "ixo_test.h"
#include "progress_bar.h"
#include "progress_lines.h"
#include "sequential_option.h"
#include "series_input.h"
#include "step_down_min_p.h"
#include "subcommand.h"
#include "tables/csv_fields.h"

namespace ixo {
namespace {

constexpr const char* kName = "ixo";

constexpr const char* kHelp =
    "usage: ixo_cli ixo FILE... [--m 10] [--eps 0.60:1.90] [--subint 40] [--cm-limit 50]\n"
    "                   [--reps 999] [--sequential H] [--seed N] [--threads N]\n"
    "                   [--format table|csv|json] [--output PATH] [--progress-file PATH]\n"
    "\n"
    "The Ixo values of dimensions 2..m of each series FILE (numbers separated by white\n"
    "space, like input.tmp), computed as ixo_engine computes them, and the two-sided\n"
    "permutation p-value of each against --reps random orderings of the series: an\n"
    "exact test of the i.i.d. hypothesis for any n and any marginal law.\n"
    "\n"
    "  --m M             largest embedding dimension, 2..16 (default 10)\n"
    "  --eps LOW:HIGH    the distance range in standard deviations (default 0.60:1.90)\n"
    "  --subint K        intervals of the distance grid, 1..10000 (default 40)\n"
    "  --cm-limit C      a grid point counts with more close pairs than C (default 50)\n"
    "  --reps R          permutations (default 999; 0: no p-value)\n"
    "  --sequential H    stop drawing permutations once every p-value is certainly above\n"
    "                    10 %: after the first L <= 20H - 1 of them with at least H at or\n"
    "                    below the series' value and H at or above it, p = 2H / L; the\n"
    "                    others go on to R and keep the fixed-R p-value (default 0: all R;\n"
    "                    10 draws about 120 of 999 for the median i.i.d. series)\n"
    "  --seed N          seed of the permutations (default 20040105: runs agree)\n"
    "  --threads N       threads, 0 for one per core (default 0); the results do not change\n"
    "  --format F        table, csv or json (default table)\n"
    "  --output PATH     write the results there, whole or not at all (default: stdout)\n"
    "  --progress-file PATH\n"
    "                    write lines \"progress DONE TOTAL\" there while the permutations\n"
    "                    are drawn (DONE of TOTAL over all files; a line per whole\n"
    "                    percent, the last with DONE = TOTAL); \"-\": standard error\n"
    "\n"
    "Columns: file,n,m,ixo,points,class,verdict,p_value,p_adjusted. `class` is the\n"
    "tabulated sample size nearest to n (500, 1000 or 2500; the window preselects it\n"
    "within 20 % of n) and `verdict` the tables' verdict for the value to three\n"
    "decimals where the tables hold; otherwise:\n"
    "  no value: REASON  the dimension has no Ixo value (fewer than two usable grid\n"
    "                    points, or flat counts; ixo_engine prints \"---\"): ixo and\n"
    "                    p_value are empty\n"
    "  unknown           dimensions above 10, or settings other than a tabulated range\n"
    "                    with 40 intervals and Cm limit 50\n"
    "  unknown: n lies more than 20 % from the class\n"
    "                    the table of the class rejects too often or too rarely there\n"
    "The permutation p-value holds at any n. Permuted copies without an Ixo value are\n"
    "left out of it. `p_adjusted` is the p-value adjusted over the file's dimensions\n"
    "(step-down min-p from the same permutations): rejecting where it is at most a\n"
    "rejects a true i.i.d. hypothesis in any dimension with probability at most a.\n"
    "After each file's dimensions a row with m \"all\" gives the overall test of the\n"
    "file: the smallest adjusted p-value in p_value and p_adjusted, and its verdict at\n"
    "the levels 1, 2, 5 and 10 %. With --sequential the adjusted values come from the\n"
    "permutations drawn for every dimension and are never below the raw ones: where\n"
    "the rule stopped early all are above 10 %, else they are the fixed-R values.\n"
    "\n"
    "Exit status: 0 done, 1 bad data or output, 2 bad usage.\n";

int Run(std::span<const std::string> args, const CliIo& io) {
  std::vector<const char*> names = WithCommonOptions({kProgressFileOption});
  names.insert(names.end(), std::begin(kIxoSettingsOptions), std::end(kIxoSettingsOptions));
  names.push_back(kSequentialOption);
  const CommandStart start = StartCommand(args, names, io, kName, kHelp);
  if (start.done) return *start.done;
  const Arguments& a = start.arguments;
  const Result<CommonOptions> common = ReadCommonOptions(a, 999);
  if (!common.ok()) return UsageError(io, kName, common.error);
  const Result<IxoSettings> settings = ReadIxoSettings(a);
  if (!settings.ok()) return UsageError(io, kName, settings.error);
  const Result<long long> sequential = ReadSequential(a);
  if (!sequential.ok()) return UsageError(io, kName, sequential.error);
  if (a.files.empty()) return UsageError(io, kName, "no series file given");

  const Result<std::vector<SeriesInput>> inputs = ReadSeriesFiles(a.files);
  if (!inputs.ok()) return DataError(io, inputs.error);

  const std::int64_t reps = common.value->reps;
  Result<ProgressLines> lines =
      OpenProgressLines(a, reps * static_cast<std::int64_t>(inputs.value->size()), io.err);
  if (!lines.ok()) return DataError(io, lines.error);

  ResultTable table;
  table.columns = HeaderColumns(kIxoTestHeader);
  ProgressBar bar(io.err, io.progress && !lines.value->OnStandardError());
  std::int64_t drawn = 0;  // by the series before this one
  for (const SeriesInput& input : *inputs.value) {
    Simulation simulation = SimulationOf(*common.value, io, [&](int done, int total) {
      bar.Show(input.path, done, total);
      lines.value->Show(drawn + done);
    });
    simulation.sequential = static_cast<int>(*sequential.value);
    const Result<IxoTestReport> report = IxoTest(input.values, *settings.value, simulation);
    if (!report.ok()) {
      bar.Clear();
      return DataError(io, "'" + input.path + "': " + report.error);
    }
    for (const IxoTestRow& row : report.value->rows) {
      table.rows.push_back({TextCell(input.path), IntegerCell(report.value->n), IntegerCell(row.m),
                            NumberCell(row.value), IntegerCell(row.points),
                            IntegerCell(row.size_class), TextCell(row.verdict),
                            NumberCell(row.p_value), NumberCell(row.p_adjusted)});
    }
    const std::optional<double> overall = report.value->p_overall;
    table.rows.push_back({TextCell(input.path), IntegerCell(report.value->n), TextCell("all"),
                          Cell{}, Cell{}, Cell{},
                          TextCell(overall ? LevelVerdict(*overall) : "unknown"),
                          NumberCell(overall), NumberCell(overall)});
    drawn += reps;
  }
  bar.Clear();
  return Deliver(io, *common.value, table);
}

}  // namespace

const Subcommand kIxoSubcommand{kName, "Ixo values, verdicts and permutation p-values", kHelp, Run};

}  // namespace ixo

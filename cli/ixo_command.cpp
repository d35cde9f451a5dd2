// ixo_cli ixo: per file and dimension the Ixo value, its usable grid points,
// the verdict of the tabulated critical values and the permutation p-value,
// raw and adjusted over the dimensions; then the file's overall test.
#include <cstdint>
#include <cstdio>

#include "ixo_settings_options.h"
#include "ixo_test.h"
#include "part_options.h"
#include "progress_bar.h"
#include "progress_lines.h"
#include "run_tables.h"
#include "sequential_option.h"
#include "series_input.h"
#include "simulation_parts.h"
#include "subcommand.h"

namespace ixo {
namespace {

constexpr const char* kName = "ixo";

constexpr const char* kHelp =
    "usage: ixo_cli ixo FILE... [--m 10] [--eps 0.60:1.90] [--subint 40] [--cm-limit 50]\n"
    "                   [--reps 999] [--sequential H] [--class C] [--seed N] [--threads N]\n"
    "                   [--format table|csv|json] [--output PATH] [--progress-file PATH]\n"
    "                   [--replications A:B --format part]\n"
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
    "  --class C         the verdicts of the tabulated class C (500, 1000 or 2500) for\n"
    "                    any n, as when it is chosen in the window (default: the class\n"
    "                    nearest to n, within 20 % of it)\n"
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
    "  --format part     write a part file for ixo_cli merge instead of the table\n"
    "  --replications A:B  only permutations A..B-1 of the R (with --format part)\n"
    "  --progress-file PATH\n"
    "                    write lines \"progress DONE TOTAL\" there while the permutations\n"
    "                    are drawn (DONE of TOTAL over all files; a line per whole\n"
    "                    percent, the last with DONE = TOTAL); \"-\": standard error\n"
    "\n"
    "Columns: file,n,m,ixo,points,class,verdict,p_value,p_adjusted. `class` is the\n"
    "tabulated sample size nearest to n (500, 1000 or 2500; the window preselects it\n"
    "within 20 % of n), or --class, and `verdict` the tables' verdict for the value to three\n"
    "decimals where the tables hold; otherwise:\n"
    "  no value: REASON  the dimension has no Ixo value (fewer than two usable grid\n"
    "                    points, or flat counts; ixo_engine prints \"---\"): ixo and\n"
    "                    p_value are empty\n"
    "  unknown           dimensions above 10, or settings other than a tabulated range\n"
    "                    with 40 intervals and Cm limit 50\n"
    "  unknown: n lies more than 20 % from the class\n"
    "                    the table of the class rejects too often or too rarely there\n"
    "                    (not with --class)\n"
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
  names.insert(names.end(), std::begin(kPartOptions), std::end(kPartOptions));
  names.push_back(kSequentialOption);
  names.push_back("class");
  CommandStart start = StartCommand(args, names, io, kName, kHelp);
  if (start.done) return *start.done;
  Arguments& a = start.arguments;
  const bool part_format = TakePartFormat(a);
  const Result<CommonOptions> common = ReadCommonOptions(a, 999);
  if (!common.ok()) return UsageError(io, kName, common.error);
  const Result<IxoSettings> settings = ReadIxoSettings(a);
  if (!settings.ok()) return UsageError(io, kName, settings.error);
  const Result<PartOptions> parts = ReadPartOptions(a, part_format, common.value->reps);
  if (!parts.ok()) return UsageError(io, kName, parts.error);
  const Result<long long> sequential = ReadSequential(a);
  if (!sequential.ok()) return UsageError(io, kName, sequential.error);
  if (*sequential.value > 0 && (parts.value->part || a.options.count("replications") > 0))
    return UsageError(io, kName, kSequentialPartError);
  int chosen_class = 0;
  if (const auto it = a.options.find("class"); it != a.options.end()) {
    const Result<long long> c = ParseInteger("class", it->second, 500, 2500);
    if (!c.ok() || (*c.value != 500 && *c.value != 1000 && *c.value != 2500))
      return UsageError(io, kName, "--class: '" + it->second + "' is not 500, 1000 or 2500");
    if (parts.value->part) return UsageError(io, kName, "--class: a part file carries no verdicts");
    chosen_class = static_cast<int>(*c.value);
  }
  if (a.files.empty()) return UsageError(io, kName, "no series file given");

  const Result<std::vector<SeriesInput>> inputs = ReadSeriesFiles(a.files);
  if (!inputs.ok()) return DataError(io, inputs.error);

  const std::int64_t reps = RangeLength(*parts.value, common.value->reps);
  Result<ProgressLines> lines =
      OpenProgressLines(a, reps * static_cast<std::int64_t>(inputs.value->size()), io.err);
  if (!lines.ok()) return DataError(io, lines.error);

  ResultTable table = IxoTable();
  Part part;
  ProgressBar bar(io.err, io.progress && !lines.value->OnStandardError());
  std::int64_t drawn = 0;  // by the series before this one
  for (const SeriesInput& input : *inputs.value) {
    Simulation simulation = SimulationOf(*common.value, io, [&](int done, int total) {
      bar.Show(input.path, done, total);
      lines.value->Show(drawn + done);
    });
    SetRange(simulation, *parts.value);
    simulation.sequential = static_cast<int>(*sequential.value);
    const Result<IxoPermutationTest> test =
        PermutationTestIxo(input.values, *settings.value, simulation);
    if (!test.ok()) {
      bar.Clear();
      return DataError(io, "'" + input.path + "': " + test.error);
    }
    if (parts.value->part) {
      if (part.program.empty()) {
        part = PartOfRun(PartProgram(), kIxoPartCommand, simulation);
        SetIxoSettings(part, *settings.value);
      }
      AddIxoSeries(part, input.path, input.values, *test.value);
    } else {
      const int n = static_cast<int>(input.values.size());
      AddIxoRows(table, input.path, IxoReportOf(n, *settings.value, *test.value, chosen_class));
    }
    drawn += reps;
  }
  bar.Clear();
  if (parts.value->part) return DeliverText(io, *common.value, WritePart(part));
  return Deliver(io, *common.value, table);
}

}  // namespace

const Subcommand kIxoSubcommand{kName, "Ixo values, verdicts and permutation p-values", kHelp, Run};

}  // namespace ixo

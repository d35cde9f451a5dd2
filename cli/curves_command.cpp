// ixo_cli curves: the correlation integrals behind each Ixo value of one
// series, grid point by grid point, and the fitted line of each dimension.
#include <cstdio>

#include "correlation_curves.h"
#include "curves_output.h"
#include "ixo_settings_options.h"
#include "series_input.h"
#include "subcommand.h"

namespace ixo {
namespace {

constexpr const char* kName = "curves";

constexpr const char* kHelp =
    "usage: ixo_cli curves FILE [--m 10] [--eps 0.60:1.90] [--subint 40] [--cm-limit 50]\n"
    "                      [--format table|csv|json] [--output PATH]\n"
    "\n"
    "The log-log picture behind the Ixo values of the series FILE (numbers separated by\n"
    "white space, like input.tmp): for each dimension m = 2..M and grid point k the\n"
    "distance, the number of close pairs of m-histories and their logarithms, whether\n"
    "the point is used (more close pairs than the Cm limit), and per dimension the\n"
    "least-squares line through the used points, whose slope is the Ixo value exactly\n"
    "as ixo_engine computes it.\n"
    "\n"
    "  --m M             largest embedding dimension, 2..16 (default 10)\n"
    "  --eps LOW:HIGH    the distance range in standard deviations (default 0.60:1.90)\n"
    "  --subint K        intervals of the distance grid, 1..10000 (default 40)\n"
    "  --cm-limit C      a grid point is used with more close pairs than C (default 50)\n"
    "  --format F        table, csv or json (default table)\n"
    "  --output PATH     write the results there, whole or not at all (default: stdout)\n"
    "\n"
    "Points: m,k,eps,x,pairs,y,used, with eps in the units of the series,\n"
    "x = ln(eps / spread), pairs the number of close pairs as a whole number,\n"
    "y = ln(pairs) (empty without a pair) and used 1 or 0. Then, after an empty line,\n"
    "the lines: m,slope,intercept,points, with the intercept at x = 0 and the number\n"
    "of used points. In JSON: {\"points\": [...], \"fits\": [...]}. eps, x, y, slope\n"
    "and intercept read back to the computed doubles; y is the logarithm of the\n"
    "engine's pairs, C_m times the number of pairs of m-histories, which differs\n"
    "from the whole count printed by rounding error only.\n"
    "\n"
    "Exit status: 0 done, 1 bad data or output, 2 bad usage.\n";

int Run(std::span<const std::string> args, const CliIo& io) {
  std::vector<const char*> names = {"format", "output"};
  names.insert(names.end(), std::begin(kIxoSettingsOptions), std::end(kIxoSettingsOptions));
  const CommandStart start = StartCommand(args, names, io, kName, kHelp);
  if (start.done) return *start.done;
  const Arguments& a = start.arguments;
  const Result<CommonOptions> common = ReadCommonOptions(a, 0);
  if (!common.ok()) return UsageError(io, kName, common.error);
  const Result<IxoSettings> settings = ReadIxoSettings(a);
  if (!settings.ok()) return UsageError(io, kName, settings.error);
  if (a.files.size() != 1) return UsageError(io, kName, "give exactly one series file");

  const Result<std::vector<SeriesInput>> inputs = ReadSeriesFiles(a.files);
  if (!inputs.ok()) return DataError(io, inputs.error);
  const SeriesInput& input = inputs.value->front();
  const Result<std::vector<CorrelationCurve>> curves =
      SeriesCurves(input.values, *settings.value, io.pair_count_path);
  if (!curves.ok()) return DataError(io, "'" + input.path + "': " + curves.error);
  const CurvesTables tables = CurvesResultTables(*curves.value);
  return DeliverText(io, *common.value, WrittenCurves(tables, common.value->format));
}

}  // namespace

const Subcommand kCurvesSubcommand{kName, "the correlation integrals behind each Ixo value", kHelp,
                                   Run};

}  // namespace ixo

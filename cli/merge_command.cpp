// ixo_cli merge: the table of a run whose replications ran in parts, on other
// machines or at other times (--replications A:B --format part), as one run of
// all of them prints it.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ixo_test.h"
#include "part_merge.h"
#include "run_tables.h"
#include "simulation_parts.h"
#include "subcommand.h"

namespace ixo {
namespace {

constexpr const char* kName = "merge";

constexpr const char* kHelp =
    "usage: ixo_cli merge PART... [--format table|csv|json] [--output PATH]\n"
    "\n"
    "The table of ixo_cli ixo, bds or critical from the part files that runs over ranges\n"
    "of its replications wrote (--replications A:B --format part): byte for byte what one\n"
    "run of all the replications prints. The parts may be given in any order. Refused, in\n"
    "one line naming the parts: a part cut short or altered, parts of different versions,\n"
    "commands, settings, seeds, replication counts or series, overlapping ranges, and\n"
    "missing replications.\n"
    "\n"
    "  --format F        table, csv or json (default table)\n"
    "  --output PATH     write the results there, whole or not at all (default: stdout)\n"
    "\n"
    "Exit status: 0 done, 1 bad or incomplete parts or output, 2 bad usage.\n";

// The whole of the file at `path`; an error naming it when it cannot be read.
Result<std::string> ReadText(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {std::nullopt, "cannot read '" + path + "': " + std::strerror(errno)};
  std::string text;
  char buffer[65536];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int cause = errno;
  std::fclose(file);
  if (failed) return {std::nullopt, "cannot read '" + path + "': " + std::strerror(cause)};
  return {std::move(text), {}};
}

// The table of the merged part; fails on a part this program cannot interpret.
Result<ResultTable> TableOf(const Part& whole) {
  const auto failed = [](const std::string& why) { return Result<ResultTable>{std::nullopt, why}; };
  if (whole.command == kIxoPartCommand) {
    const Result<IxoSettings> settings = IxoSettingsOf(whole);
    if (!settings.ok()) return failed(settings.error);
    ResultTable table = IxoTable();
    for (std::size_t i = 0; i < whole.series.size(); ++i) {
      const Result<IxoPermutationTest> test = IxoTestFromPart(whole, i);
      if (!test.ok()) return failed(test.error);
      AddIxoRows(table, whole.series[i].path,
                 IxoReportOf(static_cast<int>(whole.series[i].n), *settings.value, *test.value));
    }
    return {std::move(table), {}};
  }
  if (whole.command == kBdsPartCommand) {
    ResultTable table = BdsTable();
    for (std::size_t i = 0; i < whole.series.size(); ++i) {
      const Result<BdsPermutationTest> test = BdsTestFromPart(whole, i);
      if (!test.ok()) return failed(test.error);
      AddBdsRows(table, whole.series[i].path, static_cast<long long>(whole.series[i].n),
                 *test.value);
    }
    return {std::move(table), {}};
  }
  if (whole.command == kCriticalPartCommand) {
    const Result<int> n = CriticalLengthOf(whole);
    if (!n.ok()) return failed(n.error);
    const Result<SimulatedCriticalValues> values = CriticalValuesFromPart(whole);
    if (!values.ok()) return failed(values.error);
    return {CriticalTable(*n.value, static_cast<int>(whole.replications), *values.value), {}};
  }
  return failed("parts of '" + whole.command + "', which this program does not merge");
}

int Run(std::span<const std::string> args, const CliIo& io) {
  const char* const names[] = {"format", "output"};
  const CommandStart start = StartCommand(args, names, io, kName, kHelp);
  if (start.done) return *start.done;
  const Arguments& a = start.arguments;
  const Result<CommonOptions> common = ReadCommonOptions(a, 0);
  if (!common.ok()) return UsageError(io, kName, common.error);
  if (a.files.empty()) return UsageError(io, kName, "no part file given");

  std::vector<PartText> texts;
  for (const std::string& path : a.files) {
    Result<std::string> text = ReadText(path);
    if (!text.ok()) return DataError(io, text.error);
    texts.push_back(PartText{path, std::move(*text.value)});
  }
  const Result<Part> merged = MergePartTexts(texts);
  if (!merged.ok()) return DataError(io, merged.error);
  const Result<ResultTable> table = TableOf(*merged.value);
  if (!table.ok()) return DataError(io, table.error);
  return Deliver(io, *common.value, *table.value);
}

}  // namespace

const Subcommand kMergeSubcommand{kName, "the table of a run from the parts of its replications",
                                  kHelp, Run};

}  // namespace ixo

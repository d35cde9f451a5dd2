#include "subcommand.h"

#include "simulation_settings.h"
#include "whole_file.h"

namespace ixo {

Result<CommonOptions> ReadCommonOptions(const Arguments& a, int default_reps) {
  CommonOptions o;
  o.reps = default_reps;
  o.seed = kDefaultSeed;
  const auto option = [&](const char* name) -> const std::string* {
    const auto it = a.options.find(name);
    return it == a.options.end() ? nullptr : &it->second;
  };
  if (const std::string* text = option("reps")) {
    const Result<long long> p = ParseInteger("reps", *text, 0, 10'000'000);
    if (!p.value) return Failure<CommonOptions>(p.error);
    o.reps = static_cast<int>(*p.value);
  }
  if (const std::string* text = option("seed")) {
    const Result<std::uint64_t> p = ParseSeed("seed", *text);
    if (!p.value) return Failure<CommonOptions>(p.error);
    o.seed = *p.value;
  }
  if (const std::string* text = option("threads")) {
    const Result<long long> p = ParseInteger("threads", *text, 0, 256);
    if (!p.value) return Failure<CommonOptions>(p.error);
    o.threads = static_cast<int>(*p.value);
  }
  if (const std::string* text = option("format")) {
    const std::optional<OutputFormat> format = FormatNamed(*text);
    if (!format)
      return Failure<CommonOptions>("--format: '" + *text + "' is not table, csv or json");
    o.format = *format;
  }
  if (const std::string* text = option("output")) {
    if (text->empty()) return Failure<CommonOptions>("--output: the path is empty");
    o.output = *text;
  }
  return {std::move(o), {}};
}

Simulation SimulationOf(const CommonOptions& options, const CliIo& io, ProgressCallback progress) {
  Simulation simulation;
  simulation.replications = options.reps;
  simulation.seed = options.seed;
  simulation.threads = options.threads;
  simulation.progress = std::move(progress);
  simulation.pair_count_path = io.pair_count_path;
  return simulation;
}

CommandStart StartCommand(std::span<const std::string> args, std::span<const char* const> names,
                          const CliIo& io, const char* name, const char* help) {
  CommandStart start;
  Result<Arguments> read = ReadArguments(args, names);
  if (!read.ok()) {
    start.done = UsageError(io, name, read.error);
    return start;
  }
  start.arguments = std::move(*read.value);
  if (start.arguments.help) {
    std::fputs(help, io.out);
    start.done = kExitOk;
  }
  return start;
}

int UsageError(const CliIo& io, const char* name, const std::string& message) {
  std::fprintf(io.err, "ixo_cli %s: %s (see 'ixo_cli %s --help')\n", name, message.c_str(), name);
  return kExitBadUsage;
}

int DataError(const CliIo& io, const std::string& message) {
  std::fprintf(io.err, "ixo_cli: %s\n", message.c_str());
  return kExitBadData;
}

int Deliver(const CliIo& io, const CommonOptions& options, const ResultTable& table) {
  return DeliverText(io, options, Written(table, options.format));
}

int DeliverText(const CliIo& io, const CommonOptions& options, const std::string& text) {
  if (options.output.empty()) {
    std::fputs(text.c_str(), io.out);
    if (std::fflush(io.out) != 0)
      return DataError(io, "cannot write the results to standard output");
    return kExitOk;
  }
  if (std::string why = WriteWholeFile(options.output, text, true); !why.empty())
    return DataError(io, why);
  return kExitOk;
}

std::vector<const char*> WithCommonOptions(std::initializer_list<const char*> own) {
  std::vector<const char*> names(own);
  names.insert(names.end(), std::begin(kCommonOptions), std::end(kCommonOptions));
  return names;
}

}  // namespace ixo

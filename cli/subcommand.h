// What every subcommand of ixo_cli shares: its entry in the dispatch table,
// the streams it writes to, the options common to all simulations, and the
// way it hands over its table and its errors.
//
// A new subcommand is one file that defines a `Subcommand` and one line in the
// table of cli.cpp.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "arguments.h"
#include "pair_counts.h"
#include "result_table.h"
#include "simulation_settings.h"

namespace ixo {

// Exit statuses: a result, data that admit none, a command line that is wrong.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadData = 1;
inline constexpr int kExitBadUsage = 2;

struct CliIo {
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  bool progress = false;  // draw a progress bar on `err` (it is a terminal)
  // The instructions of the pair counts (main takes it from
  // IXO_PAIR_COUNT_PATH); the results do not depend on it.
  PairCountPath pair_count_path = PairCountPath::kAuto;
};

struct Subcommand {
  const char* name;
  const char* summary;  // one line for the overview of ixo_cli --help
  const char* help;     // the whole text of ixo_cli NAME --help
  // Runs the subcommand on the words after its name; returns the exit status.
  int (*run)(std::span<const std::string> args, const CliIo& io);
};

extern const Subcommand kIxoSubcommand;
extern const Subcommand kBdsSubcommand;
extern const Subcommand kTestSubcommand;
extern const Subcommand kCriticalSubcommand;
extern const Subcommand kCurvesSubcommand;

// The options of every simulating subcommand besides its own.
struct CommonOptions {
  int reps = 999;
  std::uint64_t seed = 0;  // kDefaultSeed unless --seed is given
  int threads = 0;
  OutputFormat format = OutputFormat::kTable;
  std::string output;  // empty: standard output
};

// The names of the common options, for ReadArguments.
inline constexpr const char* kCommonOptions[] = {"reps", "seed", "threads", "format", "output"};

// Reads --reps (0 .. 10^7, default `default_reps`), --seed, --threads (0 ..
// 256) and --format and --output from `a`. Fails with the refusal of the first
// of them that is wrong.
[[nodiscard]] Result<CommonOptions> ReadCommonOptions(const Arguments& a, int default_reps);

// The simulation the common options ask for, counting along io's path and
// reporting to `progress`.
Simulation SimulationOf(const CommonOptions& options, const CliIo& io, ProgressCallback progress);

// The words after a subcommand, read with its option `names`.
struct CommandStart {
  Arguments arguments;
  // Set when the command ends here: kExitBadUsage after a refusal (one line on
  // io.err), kExitOk after --help printed `help` on io.out.
  std::optional<int> done;
};
[[nodiscard]] CommandStart StartCommand(std::span<const std::string> args,
                                        std::span<const char* const> names, const CliIo& io,
                                        const char* name, const char* help);

// Prints "ixo_cli NAME: message" and a pointer to --help on `io.err`; returns kExitBadUsage.
int UsageError(const CliIo& io, const char* name, const std::string& message);

// Prints "ixo_cli: message" on `io.err`; returns kExitBadData.
int DataError(const CliIo& io, const std::string& message);

// Writes `table` in the chosen format to --output (whole or not at all) or to
// standard output; returns kExitOk, or kExitBadData when the file cannot be written.
int Deliver(const CliIo& io, const CommonOptions& options, const ResultTable& table);

// Deliver for a text already written in the chosen format.
int DeliverText(const CliIo& io, const CommonOptions& options, const std::string& text);

// The names of every option of a subcommand: its own and the common ones.
std::vector<const char*> WithCommonOptions(std::initializer_list<const char*> own);

}  // namespace ixo

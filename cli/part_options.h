// The options of the subcommands whose runs can be split into parts over
// machines (ixo, bds, critical): --format part writes a part file
// (part_file.h) instead of the table, and --replications A:B draws only
// replications A .. B-1 of the R asked for. ixo_cli merge joins the parts.
#pragma once

#include <string>

#include "arguments.h"
#include "part_file.h"
#include "simulation_settings.h"

namespace ixo {

// The writer's name in its parts: "ixo_cli" and the program's version. Parts
// of different versions do not merge.
std::string PartProgram();

inline constexpr const char* kPartOptions[] = {"replications"};

// The refusal of --sequential beside --replications or --format part: where
// the rule stops depends on every replication before the stop, so a run's
// parts could not stop where the whole run would.
inline constexpr const char* kSequentialPartError =
    "--sequential cannot go with --replications or --format part";

struct PartOptions {
  bool part = false;  // --format part
  int begin = 0;      // --replications A:B; the whole range 0:R when not given
  int end = -1;
};

// Takes "--format part" out of `a`, so that ReadCommonOptions reads the other
// formats as before; true when it was there.
bool TakePartFormat(Arguments& a);

// `part` (TakePartFormat's answer) and --replications for a run of `reps`
// replications: 0 <= A < B <= reps, and only with --format part. A refusal
// names the option.
[[nodiscard]] Result<PartOptions> ReadPartOptions(const Arguments& a, bool part, int reps);

// The replications a run of `reps` draws with `options`.
long long RangeLength(const PartOptions& options, int reps);

// The simulation's range from `options`.
void SetRange(Simulation& simulation, const PartOptions& options);

}  // namespace ixo

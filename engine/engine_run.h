// One run of ixo_engine from its command line to its exit status: read the
// series, describe it, compute the Ixo values (write modes 0 and 1) or the BDS
// statistic (write mode 2), print the report on standard output and, in write
// modes 1 and 2, hand the result over in output.tmp as the very last action.
#pragma once

#include "ixo_slopes.h"

namespace ixo {

// Returns the process exit status: 0 for a finished run or the usage text, 1
// when the command line, the series file or its values admit no result (one line
// on standard error, output.tmp untouched), -1 when memory runs out ("Out of
// memory\n" on standard output). `path` finds the close pairs of every write
// mode (write mode 2 in O(n) memory with the pair counts); the reference build
// of the engine passes CountingPath::kKernel. `pair_count_path` chooses the
// instructions of the pair counts (the engine's main takes it from
// IXO_PAIR_COUNT_PATH); the results are the same.
[[nodiscard]] int RunEngine(int argc, const char* const* argv,
                            CountingPath path = CountingPath::kPairCounts,
                            PairCountPath pair_count_path = PairCountPath::kAuto);

}  // namespace ixo

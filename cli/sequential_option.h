// --sequential H of the permutation subcommands: the tail count of the
// sequential rule that stops drawing permutations once every p-value is
// certainly above 10 % (0, the default, draws all of --reps).
#pragma once

#include "arguments.h"
#include "result.h"

namespace ixo {

inline constexpr const char* kSequentialOption = "sequential";

// The tail count `a` gives: 0 .. 100000, 0 when the option is left out.
[[nodiscard]] Result<long long> ReadSequential(const Arguments& a);

}  // namespace ixo

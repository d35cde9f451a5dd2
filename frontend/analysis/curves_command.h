// The command line that asks ixo_cli for the correlation curves of a finished
// basic run, and the exchange file it writes them to.
#pragma once

#include <string>

#include "analysis/engine_command.h"
#include "analysis/exchange_files.h"

namespace ixo {

// "ixo_cli curves input.tmp --m <m> --eps <low>:<high> --format csv --output
// curves.tmp" for the basic run's epsilon-range index `eps_range` (0: 0.60:1.90,
// 1: 0.25:1.00, 2: 0.50:1.50, 3: 0.25:2.00) and maximum dimension `m`. Run in
// the program directory, like the engine. An index outside 0 to 3 gives no
// --eps option (ixo_cli then takes its default range).
std::string CurvesCommandLine(int m, int eps_range);

}  // namespace ixo

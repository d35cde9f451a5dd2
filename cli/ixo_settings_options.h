// The Ixo test's options shared by the subcommands that compute Ixo values:
// --m, --eps LOW:HIGH, --subint and --cm-limit, with the engine's defaults of
// a basic run.
#pragma once

#include <string>

#include "arguments.h"
#include "simulation_settings.h"

namespace ixo {

inline constexpr const char* kIxoSettingsOptions[] = {"m", "eps", "subint", "cm-limit"};

// The settings `a` gives (IxoSettings' defaults for the options left out);
// --m 2 .. 16, --subint 1 .. 10000, --cm-limit 0 .. 2^31 - 1. A refusal in `error`.
[[nodiscard]] IxoSettings ReadIxoSettings(const Arguments& a, std::string& error);

// The epsilon-range index of the tabulated critical values (0: 0.60-1.90,
// 1: 0.25-1.00, 2: 0.50-1.50, 3: 0.25-2.00) when `settings` are those of the
// tables (that range, 40 intervals, Cm limit 50); -1 otherwise.
int TabulatedRange(const IxoSettings& settings);

}  // namespace ixo

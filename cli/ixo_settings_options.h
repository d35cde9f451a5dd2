// The Ixo test's options shared by the subcommands that compute Ixo values:
// --m, --eps LOW:HIGH, --subint and --cm-limit, with the engine's defaults of
// a basic run.
#pragma once

#include "arguments.h"
#include "ixo_settings.h"

namespace ixo {

inline constexpr const char* kIxoSettingsOptions[] = {"m", "eps", "subint", "cm-limit"};

// The settings `a` gives (IxoSettings' defaults for the options left out);
// --m 2 .. 16, --subint 1 .. 10000, --cm-limit 0 .. 2^31 - 1. Fails with the
// refusal of the first of --m, --subint, --cm-limit and --eps that is wrong.
[[nodiscard]] Result<IxoSettings> ReadIxoSettings(const Arguments& a);

}  // namespace ixo

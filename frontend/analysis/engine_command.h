// The engine command lines of the test runs, word for word with single blanks:
// a basic step, the Ixo pass and the BDS pass of an advanced run. The advanced
// lines carry the users' field texts unchanged.
#pragma once

#include <string>

namespace ixo {

inline constexpr const char* kEngineName = "ixo_engine";

// "ixo_engine input.tmp <m> <eps_low> <eps_high> 40 50 1" for epsilon-range
// index `eps_range` (0: 0.60 1.90, 1: 0.25 1.00, 2: 0.50 1.50, 3: 0.25 2.00).
// An index outside 0 to 3 adds no range tail (the engine then refuses the line).
std::string BasicCommandLine(int m, int eps_range);

// The Ixo pass: "ixo_engine input.tmp <m> <edit2> <edit4> <edit5> <edit6> 1".
std::string AdvancedIxoCommandLine(int m, const std::string& edit2, const std::string& edit4,
                                   const std::string& edit5, const std::string& edit6);

// The BDS pass: "ixo_engine input.tmp <edit7> <edit8> 1 1 1 2".
std::string BdsCommandLine(const std::string& edit7, const std::string& edit8);

}  // namespace ixo

// The engine command lines of the test runs, word for word with single blanks:
// a basic step, the Ixo pass and the BDS pass of an advanced run. The advanced
// lines carry the users' field texts unchanged. The engine is started from the
// words of its line, split once by SplitCommandLine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ixo {

inline constexpr const char* kEngineName = "ixo_engine";

// Splits `command_line` into words at blanks and tabs; runs of them count as
// one separator, and leading or trailing ones give no empty word. Quotes have
// no special meaning. An empty or all-blank line gives no words.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

// "ixo_engine input.tmp <m> <eps_low> <eps_high> 40 50 1" for epsilon-range
// index `eps_range` (0: 0.60 1.90, 1: 0.25 1.00, 2: 0.50 1.50, 3: 0.25 2.00).
// An index outside 0 to 3 adds no range tail (the engine then refuses the line).
std::string BasicCommandLine(int m, int eps_range);

// The Ixo pass: "ixo_engine input.tmp <m> <eps_low> <eps_high> <intervals> <constraint> 1".
std::string AdvancedIxoCommandLine(int m, const std::string& eps_low, const std::string& eps_high,
                                   const std::string& intervals, const std::string& constraint);

// The BDS pass: "ixo_engine input.tmp <dimension> <bds_eps> 1 1 1 2".
std::string BdsCommandLine(const std::string& dimension, const std::string& bds_eps);

}  // namespace ixo

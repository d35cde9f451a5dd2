// The part files (part_file.h) of the permutation tests and of the simulated
// critical values: what a run over a range of replications writes, and the
// results a merged part of the whole range gives back, bit for bit those of a
// single run of that range.
//
// Sections, per series for the tests: "observed" (kSame; the statistics of the
// series as given), "tails" (kSum; the tail counts of TailCounts, per
// dimension or per dimension and distance) and "rows" (kRows; each permuted
// copy's statistics, from which a merge computes the p-values, adjusted and
// overall ones too, as the run does); for the critical values "values"
// (kRows; the simulated Ixo values of each replication, dimensions 2 .. m).
#pragma once

#include <span>
#include <string>
#include <vector>

#include "critical_simulation.h"
#include "ixo_settings.h"
#include "part_file.h"
#include "permutation_tests.h"
#include "result.h"
#include "simulation_settings.h"

namespace ixo {

// The commands whose runs make parts.
inline constexpr const char* kIxoPartCommand = "ixo";
inline constexpr const char* kBdsPartCommand = "bds";
inline constexpr const char* kCriticalPartCommand = "critical";

// The settings of a BDS test: dimensions 2 .. max_dimension at each distance
// (fractions of the sd, in this order).
struct BdsSettings {
  int max_dimension = 10;
  std::vector<double> eps = {0.5, 1, 1.5, 2};
};

// A part without series or sections: `program`, `command`, the seed, R and the
// range of `simulation` (all of R unless it names a range).
Part PartOfRun(std::string program, std::string command, const Simulation& simulation);

// The settings as texts that read back exactly (shortest round-trip numbers):
// m, eps (LOW:HIGH), subint and cm-limit; for BDS m and eps (A,B,...); the
// critical values n before the Ixo settings.
void SetIxoSettings(Part& part, const IxoSettings& settings);
void SetBdsSettings(Part& part, const BdsSettings& settings);
void SetCriticalSettings(Part& part, int n, const IxoSettings& settings);

// The settings back from a part those functions wrote; fails, naming the
// setting, on one that is missing, unreadable or out of range.
[[nodiscard]] Result<IxoSettings> IxoSettingsOf(const Part& part);
[[nodiscard]] Result<BdsSettings> BdsSettingsOf(const Part& part);
// n of the critical values' part; its other settings are IxoSettingsOf's.
[[nodiscard]] Result<int> CriticalLengthOf(const Part& part);

// Adds a series and what its test over the part's range found.
void AddIxoSeries(Part& part, const std::string& path, std::span<const double> values,
                  const IxoPermutationTest& test);
void AddBdsSeries(Part& part, const std::string& path, std::span<const double> values,
                  const BdsPermutationTest& test);
// Adds the simulated values of the part's range.
void AddCriticalValues(Part& part, const SimulatedCriticalValues& values);

// The test of series `index` of a part that holds the whole range, as
// PermutationTestIxo / PermutationTestBds give it for the whole run (the
// p-values from all its rows, bit for bit). Fails on a part of another command, of only a
// range of the replications, or whose sections do not fit its settings.
[[nodiscard]] Result<IxoPermutationTest> IxoTestFromPart(const Part& whole, std::size_t index);
[[nodiscard]] Result<BdsPermutationTest> BdsTestFromPart(const Part& whole, std::size_t index);
// The critical values of a part that holds the whole range, as
// SimulateCriticalValues gives them.
[[nodiscard]] Result<SimulatedCriticalValues> CriticalValuesFromPart(const Part& whole);

}  // namespace ixo

// The Ixo test of one series as ixo_cli ixo reports it: per dimension the Ixo
// value, its usable grid points, the verdict of the tabulated critical values
// and the permutation p-value. The one function ixo_cli and the bindings call
// for it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ixo_settings.h"
#include "permutation_tests.h"
#include "result.h"
#include "simulation_settings.h"

namespace ixo {

struct IxoTestRow {
  int m = 0;
  // The Ixo value, bit for bit the engine's; none where the dimension has no
  // fit (HasIxoValue: fewer than two usable grid points, or flat counts),
  // which ixo_engine prints as "---".
  std::optional<double> value;
  int points = 0;      // usable grid points
  int size_class = 0;  // the nominal n of the class SampleSizeClass(n) selects: 500, 1000 or 2500
  // The tables' verdict for the value rounded to three decimals (as the window
  // reads it from output.tmp), where they hold. Otherwise, in this order:
  // "no value: " and NoIxoValueReason where there is no value; "unknown" for
  // settings other than a tabulated range with 40 intervals and Cm limit 50,
  // and for dimensions above 10; kClassMisfit where n lies more than 20 % from
  // the class (SizeClassFits), whose table then rejects too often or too rarely.
  std::string verdict;
  // Two-sided permutation p-value; none when R = 0 and where there is no value.
  std::optional<double> p_value;
  std::optional<double> p_adjusted;  // adjusted over the dimensions (step-down min-p)
};

// The verdict where n lies more than 20 % from the class of the tables.
inline constexpr const char* kClassMisfit = "unknown: n lies more than 20 % from the class";

struct IxoTestReport {
  int n = 0;                        // values in the series
  std::vector<IxoTestRow> rows;     // m = 2 .. max_dimension
  std::optional<double> p_overall;  // the overall test of all dimensions; none when R = 0
  int drawn = 0;                    // permutations drawn (fewer than R where the rule stopped)
};

// The report of a series of n values from its permutation test (of the whole
// range; a merge of parts gives one too): the test's values and p-values with
// the tables' class and verdicts. `chosen_class` 0 (or any number but the
// three classes) takes the class nearest to n, whose verdicts stand only
// within 20 % of it; 500, 1000 or 2500 takes that class as a user chooses it
// in the window, whose verdicts then stand for any n.
IxoTestReport IxoReportOf(int n, const IxoSettings& settings, const IxoPermutationTest& test,
                          int chosen_class = 0);

// PermutationTestIxo of `series` with the verdicts beside it. Fails as
// PermutationTestIxo fails (kInterrupted on a stop request, kOutOfMemory).
[[nodiscard]] Result<IxoTestReport> IxoTest(std::span<const double> series,
                                            const IxoSettings& settings,
                                            const Simulation& simulation);

}  // namespace ixo

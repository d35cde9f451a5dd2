// The run state: the one signed integer that tells the result poll which step
// of which run the next result belongs to. 0 to 8 are the steps of a basic run
// (dimension state + 2, grid row state + 1) and -200 its p-value step; -100 is
// the BDS pass of an advanced run; -16 to -2 are the Ixo pass of an advanced
// run for dimension -state; -300 is the ixo_cli run that fetches the
// correlation curves of a finished basic run.
// The advanced starts only accept dimensions 2 to 16, so the three kinds of
// state never overlap.
#pragma once

#include "ixo_settings.h"

namespace ixo {

inline constexpr int kBdsPass = -100;
// The p-value step that ends a basic run with the permutation test chosen.
inline constexpr int kPermutationPass = -200;
// The ixo_cli run that fetches the correlation curves of a finished basic run.
inline constexpr int kCurvesRun = -300;
inline constexpr int kLastBasicStep = 8;  // dimension 10, grid row 9
inline constexpr int kMinAdvancedDimension = 2;
inline constexpr int kMaxAdvancedDimension = kMaxDimension;

// True for the steps of a basic run (state 0 and above).
constexpr bool IsBasicStep(int run_state) {
  return run_state >= 0;
}

// The embedding dimension of basic step `run_state` (>= 0).
constexpr int BasicStepDimension(int run_state) {
  return run_state + 2;
}

// The results-grid row of basic step `run_state` (>= 0).
constexpr int BasicStepRow(int run_state) {
  return run_state + 1;
}

// The state of the Ixo pass of an advanced run for dimension `m` (2 to 16).
constexpr int AdvancedIxoState(int m) {
  return -m;
}

}  // namespace ixo

// The files the front end and the engine exchange in the program directory:
// the front end writes the cleaned series to input.tmp, the engine renames its
// result into output.tmp, and ixo_cli writes the permutation p-values of a
// basic run to pvalues.tmp and its correlation curves to curves.tmp, each whole
// or not at all (a temporary file renamed into place), so the poll never reads
// half of one; progress.tmp grows by whole lines while the p-values are computed. Every part of the
// front end spells them from here.
#pragma once

namespace ixo {

inline constexpr const char* kInputFileName = "input.tmp";
inline constexpr const char* kOutputFileName = "output.tmp";
inline constexpr const char* kPValuesFileName = "pvalues.tmp";
inline constexpr const char* kCurvesFileName = "curves.tmp";
// ixo_cli's progress lines while it computes the p-values (see cli_progress.h).
inline constexpr const char* kProgressFileName = "progress.tmp";

}  // namespace ixo

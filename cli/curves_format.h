// The three forms of `ixo_cli curves` output, made from the engine's
// correlation curves: csv (two blocks, as frontend/analysis/curves_csv.h reads
// them), an aligned table for reading, and json. The csv and json numbers are
// the shortest decimals that read back to the same doubles, so a slope read
// from them is the engine's Ixo value bit for bit; pairs is the number of close
// pairs as a whole number, and y is empty (csv), "-" (table) or null (json) for
// a point without a pair.
#pragma once

#include <string>
#include <vector>

#include "correlation_curves.h"

namespace ixo::cli {

// m,k,eps,x,pairs,y,used lines, an empty line, then m,slope,intercept,points lines.
std::string CurvesCsv(const std::vector<CorrelationCurve>& curves);

// The same two blocks in aligned columns, with fewer digits.
std::string CurvesTable(const std::vector<CorrelationCurve>& curves);

// {"file": ..., "n": ..., "dimensions": [{"m", "slope", "intercept", "points",
// "grid": [{"k", "eps", "x", "pairs", "y", "used"}, ...]}, ...]}.
std::string CurvesJson(const std::string& file, int n, const std::vector<CorrelationCurve>& curves);

}  // namespace ixo::cli

// The log-log picture behind the Ixo values: for each dimension every grid
// point (distance, close pairs, their logarithms, whether the fit uses it) and
// the fitted line through the used points. The points and the slope come from
// the very routine IxoSlopes runs, so each slope is that dimension's Ixo value
// to the last bit.
#pragma once

#include <span>
#include <vector>

#include "ixo_settings.h"
#include "ixo_slopes.h"
#include "result.h"

namespace ixo {

struct CorrelationCurve {
  int dimension = 0;
  double slope = 0;                // the Ixo value of the dimension (FitDimension)
  double intercept = 0;            // mean y - slope * mean x of the used points; 0 with none
  int used_points = 0;             // points with used set
  std::vector<CurvePoint> points;  // every grid point, k = 0 .. grid.subint()
};

// The curves of dimensions first .. last (in that order). Requires what
// IxoSlopes requires; none when last < first.
std::vector<CorrelationCurve> CorrelationCurves(const SlopeInput& input, int first, int last);

// The curves of dimensions 2 .. max_dimension of `series` under `settings`,
// counted as the engine counts them (along `path`; the curves do not depend
// on it). Fails on settings or a series that CheckIxoSettings or CheckGrid
// refuses, and with kOutOfMemory.
[[nodiscard]] Result<std::vector<CorrelationCurve>> SeriesCurves(
    std::span<const double> series, const IxoSettings& settings,
    PairCountPath path = PairCountPath::kAuto);

}  // namespace ixo

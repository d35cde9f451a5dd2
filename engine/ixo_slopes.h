// The dimension loop of the Ixo test: for each embedding dimension j, the number
// of close pairs of j-histories at every grid distance, the grid points with
// more close pairs than cm_limit, and the least-squares slope of ln(pairs)
// against ln(eps / spread) over them. That slope is the Ixo value of j.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "grid.h"
#include "pair_counts.h"

namespace ixo {

// How the close pairs are found: counted once for the whole grid and every
// dimension (the engine's path), or by one kernel call per grid point and
// dimension (the reference the counts are checked against; same results).
enum class CountingPath { kPairCounts, kKernel };

struct SlopeInput {
  std::span<const double> series;  // n >= 2 values
  DistanceGrid grid;
  double spread = 0;  // maximum - minimum of the series, > 0
  int cm_limit = 0;   // a grid point is used only with more close pairs than this
  CountingPath path = CountingPath::kPairCounts;
  int threads = 0;  // of the pair counts; 0 lets CountClosePairs choose, 1 counts on the caller
  // When set, the pair counts come from this workspace of the calling thread,
  // which keeps its buffers and tables from one series to the next (threads
  // is then the workspace's own); the counts are the same.
  PairCountWorkspace* workspace = nullptr;
  // The instructions of the pair counts without a workspace (a workspace has
  // its own); the counts are the same.
  PairCountPath pair_count_path = PairCountPath::kAuto;
};

struct DimensionSlope {
  int dimension = 0;
  double slope = 0;  // +0 when fewer than two usable points, or all their x or all y equal
  int points = 0;    // usable grid points, 0 .. grid.size()
};

// Whether the dimension has an Ixo value: a fit through two or more usable
// points that are not flat. Without one the slope is +0, which the engine
// reports as "---"; it is no statistic to compare.
inline bool HasIxoValue(const DimensionSlope& d) {
  return d.slope != 0;
}

// Why a dimension without an Ixo value has none: "fewer than two usable grid
// points" or "flat counts" (every usable point has the same count, or the same
// distance). Empty for a dimension with a value.
std::string NoIxoValueReason(const DimensionSlope& d);

// One grid point of one dimension's log-log curve, as IxoSlopes fits it.
struct CurvePoint {
  int k = 0;          // grid index, 0 .. grid.subint()
  double eps = 0;     // grid.Point(k), in the series' units
  double x = 0;       // ln(eps / spread)
  double pairs = 0;   // close pairs, ClosePairs(n, j, C_j(eps))
  double y = 0;       // ln(pairs); -inf when there is no close pair
  bool used = false;  // pairs > cm_limit: the point enters the fit
};

struct DimensionPoints {
  int dimension = 0;
  std::vector<CurvePoint> points;  // k = 0 .. grid.subint(), in grid order
};

// The number of close pairs of j-histories given the correlation integral C_j:
// C_j times the pairs among the n - j + 1 histories, in this double arithmetic:
// (n - j) * C_j * (n - j + 1) * 0.5.
double ClosePairs(int n, int j, double c_j);

// Every grid point of dimensions first .. last (in that order), counted along
// input.path. Requires what IxoSlopes requires; none when last < first.
std::vector<DimensionPoints> CurvePoints(const SlopeInput& input, int first, int last);

// The least-squares slope (FitSlope) through the used points of one dimension,
// and their number.
DimensionSlope FitDimension(const DimensionPoints& curve);

// The Ixo values of dimensions first .. last (in that order): FitDimension of
// each of CurvePoints. Requires 2 <= first, last <= 16 and last <= n - 1; none
// when last < first.
std::vector<DimensionSlope> IxoSlopes(const SlopeInput& input, int first, int last);

}  // namespace ixo

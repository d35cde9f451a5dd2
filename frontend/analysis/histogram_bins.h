// The histogram's bins: B equal bins over -3 to +3 standard deviations, the
// share of a series in each bin, and the reading of the bin-count field. The
// edges are computed by one expression so that neighbouring bins share an edge
// exactly and no value falls between two bins.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ixo {

// One point of a chart series.
struct ChartPoint {
  double x = 0;
  double y = 0;
};

// The largest number of bins the histogram ever draws.
inline constexpr int kMaxBins = 50;

struct BinEdges {
  double lo = 0;
  double hi = 0;
};

// Edges of bin `k` (1-based) of `bins`: lo = 6/bins*(k-1) - 3, hi = 6/bins*k - 3.
// Requires bins >= 1. A bin holds the values v with lo <= v < hi.
BinEdges EdgesOfBin(int k, int bins);

// One bar per bin: x = the bin's centre, y = the share of `values` in the bin
// (count / values.size()). Values below -3 or at or above the last edge fall in
// no bin. No bars when `bins` <= 0. Requires a non-empty `values` when bins > 0.
std::vector<ChartPoint> HistogramBars(std::span<const double> values, int bins);

// The bin count typed in the bin-count field: an integer with optional blanks
// around it. Text that is not an integer (an empty field while the user types)
// reads as 1; numbers above kMaxBins read as kMaxBins; 0 and negative numbers
// read as 0, which draws nothing.
int BinCountFromText(std::string_view text);

// The number a bin-count text is brought to when the field is left, for an
// integer outside 1 to kMaxBins: the nearer limit ("99" -> 50, "0" and "-3" ->
// 1). Nothing for a number within the range and for text that is no integer.
std::optional<int> BinCountCorrection(std::string_view text);

}  // namespace ixo

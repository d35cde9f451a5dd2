#include "analysis/histogram_bins.h"

#include <algorithm>
#include <cassert>

namespace ixo {

BinEdges EdgesOfBin(int k, int bins) {
  assert(bins >= 1);
  // Bin k's hi and bin k+1's lo come from the same expression with the same k,
  // so they are the same double.
  return {6.0 / bins * (k - 1) - 3, 6.0 / bins * k - 3};
}

std::vector<ChartPoint> HistogramBars(std::span<const double> values, int bins) {
  std::vector<ChartPoint> bars;
  if (bins <= 0) return bars;
  assert(!values.empty());
  const double n = static_cast<double>(values.size());
  bars.reserve(static_cast<size_t>(bins));
  for (int k = 1; k <= bins; ++k) {
    const BinEdges edges = EdgesOfBin(k, bins);
    int count = 0;
    for (double v : values) {
      if (edges.lo <= v && v < edges.hi) ++count;
    }
    bars.push_back({(edges.lo + edges.hi) / 2, count / n});
  }
  return bars;
}

namespace {

// The integer in `text` (blanks around it and one sign allowed), its magnitude
// saturated just above kMaxBins; nothing when the text is no integer.
std::optional<int> FieldInteger(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  size_t end = text.size();
  while (end > pos && text[end - 1] == ' ') --end;
  bool negative = false;
  if (pos < end && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == end) return std::nullopt;
  // Saturate while reading: a long number is still a number beyond the limits.
  int magnitude = 0;
  for (size_t i = pos; i < end; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    if (magnitude <= kMaxBins) magnitude = magnitude * 10 + (c - '0');
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace

int BinCountFromText(std::string_view text) {
  const std::optional<int> number = FieldInteger(text);
  if (!number) return 1;
  return std::clamp(*number, 0, kMaxBins);
}

std::optional<int> BinCountCorrection(std::string_view text) {
  const std::optional<int> number = FieldInteger(text);
  if (!number || (*number >= 1 && *number <= kMaxBins)) return std::nullopt;
  return std::clamp(*number, 1, kMaxBins);
}

}  // namespace ixo

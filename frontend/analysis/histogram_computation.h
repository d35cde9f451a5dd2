// The histogram window's computation, free of any widget: read the series from
// the observation list, compute its moments, standardize and sort it in place
// (once per loaded series), then bin it and set the normal curve beside it. The
// window passes in its gauge, bin-count text and decimal separator and copies
// the returned texts and points into its labels and chart.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/gap_sort.h"
#include "analysis/histogram_bins.h"
#include "analysis/observation_list.h"

namespace ixo {

// The gauge value that marks the series as prepared: the list holds the
// standardized, sorted series and the labels show its moments.
inline constexpr int kPreparedGauge = 100;

// Texts of the moment labels and of their hints, all in three decimals.
struct HistogramLabels {
  std::string mean;
  std::string standard_deviation;
  std::string skewness;
  std::string kurtosis;
  std::string bera_jarque;
  std::string skewness_hint;
  std::string kurtosis_hint;
};

struct HistogramResult {
  // Set when the moments were computed; empty when the series was already
  // prepared and the labels keep what they show.
  std::optional<HistogramLabels> labels;
  std::vector<ChartPoint> bars;   // one per bin
  std::vector<ChartPoint> curve;  // normal probability per bin
  int gauge = kPreparedGauge;     // the gauge's value afterwards
  // Set when the computation stopped: the user's text. Everything else is
  // then empty, and the list as it was.
  std::optional<std::string> error;
};

// The histogram computation for the series in `list`. When `gauge` is not
// kPreparedGauge, first computes the moments, replaces every item of `list`
// by its standardized value (GeneralNumberText, 15 digits, `decimal_separator`)
// and sorts the list ascending, calling `on_gauge` after every gap stage of the
// sort. Then bins the list into BinCountFromText(`bin_count_text`) bins.
// A failure (an empty or constant series gives kInvalidOperation, an unreadable
// item its conversion error) is found before `list` changes and returned in
// `error`; the caller then leaves labels, hints, gauge and curve as they were
// (the bars were cleared before the computation began).
[[nodiscard]] HistogramResult ComputeHistogram(ObservationList& list, int gauge,
                                               std::string_view bin_count_text,
                                               char decimal_separator,
                                               const GaugeCallback& on_gauge);

}  // namespace ixo

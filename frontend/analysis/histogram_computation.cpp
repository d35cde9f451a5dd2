#include "analysis/histogram_computation.h"

#include <cmath>
#include <limits>
#include <numeric>

#include "analysis/errors.h"
#include "analysis/histogram_stats.h"
#include "analysis/normal_distribution.h"
#include "analysis/number_text.h"

namespace ixo {
namespace {

// The values of the list's items into `values`, or the user's text of what
// stops them. Items are texts this program wrote, so an unreadable one means
// the list was filled by something else; it stops the computation like any
// failed number conversion.
std::optional<std::string> ReadValues(const ObservationList& list, char decimal_separator,
                                      std::vector<double>& values) {
  const int count = list.Count();
  values.assign(static_cast<size_t>(count), 0.0);
  for (int i = 0; i < count; ++i) {
    const std::string text = list.Item(i);
    const std::optional<long double> value = ReadNumber(text, decimal_separator);
    if (!value) {
      std::string message = "'";
      message += text;
      message += "' is not a valid floating point value";
      return message;
    }
    // The import lets no such value into the list, but a value beyond the
    // double range must not turn into an infinity here either.
    if (std::fabs(*value) > std::numeric_limits<double>::max()) return std::string(kOverflow);
    values[static_cast<size_t>(i)] = static_cast<double>(*value);
  }
  return std::nullopt;
}

HistogramResult Failed(std::string message) {
  HistogramResult result;
  result.error = std::move(message);
  return result;
}

HistogramLabels LabelTexts(const SeriesMoments& moments, int count, char separator) {
  HistogramLabels labels;
  labels.mean = ThreeDecimalText(moments.mean, separator);
  labels.standard_deviation = ThreeDecimalText(moments.standard_deviation, separator);
  labels.skewness = ThreeDecimalText(moments.skewness, separator);
  labels.kurtosis = ThreeDecimalText(moments.kurtosis, separator);
  labels.bera_jarque = ThreeDecimalText(moments.bera_jarque, separator);
  labels.skewness_hint = ZStatisticHint(SkewnessZ(moments, count), separator);
  labels.kurtosis_hint = ZStatisticHint(KurtosisZ(moments, count), separator);
  return labels;
}

}  // namespace

HistogramResult ComputeHistogram(ObservationList& list, int gauge, std::string_view bin_count_text,
                                 char decimal_separator, const GaugeCallback& on_gauge) {
  HistogramResult result;
  std::vector<double> values;
  if (std::optional<std::string> error = ReadValues(list, decimal_separator, values)) {
    return Failed(std::move(*error));
  }
  const int count = static_cast<int>(values.size());
  // Without items both the mean and every bar's share are 0/0.
  if (count == 0) return Failed(kInvalidOperation);

  if (gauge != kPreparedGauge) {
    const MomentsResult computed = ComputeMoments(values);
    if (computed.error != nullptr) return Failed(computed.error);
    const SeriesMoments& moments = computed.moments;
    result.labels = LabelTexts(moments, count, decimal_separator);

    // The list holds texts, and the sort and the bins see the values those texts
    // denote: each standardized value is rounded to its 15-digit text once, and
    // the value read back from that text travels beside it through the sort.
    std::vector<std::string> texts(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
      const Checked z = CheckedDivide(values[i] - moments.mean, moments.standard_deviation);
      if (!z.ok()) return Failed(z.error);
      texts[i] = GeneralNumberText(z.value, decimal_separator);
      values[i] = static_cast<double>(ReadNumber(texts[i], decimal_separator).value());
    }
    std::vector<int> order(values.size());
    std::iota(order.begin(), order.end(), 0);
    GapSort(values, order, on_gauge);
    for (int i = 0; i < count; ++i) list.Replace(i, texts[static_cast<size_t>(order[i])]);
  }

  const int bins = BinCountFromText(bin_count_text);
  result.bars = HistogramBars(values, bins);
  result.gauge = kPreparedGauge;
  result.curve = DrawNormalCurve(bins);
  return result;
}

}  // namespace ixo

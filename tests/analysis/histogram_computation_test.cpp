#include "analysis/histogram_computation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis/errors.h"
#include "analysis/number_text.h"

namespace ixo {
namespace {

// The list as the import leaves it: values of 0 or more carry one leading blank.
VectorObservationList ImportedList(const std::vector<double>& values, char separator) {
  VectorObservationList list;
  for (double v : values) {
    std::string text = v >= 0 ? " " : "";
    text += GeneralNumberText(v, separator);
    list.Append(text);
  }
  return list;
}

struct Outcome {
  HistogramResult result;
  std::vector<int> gauges;
};

Outcome Compute(ObservationList& list, int gauge, const std::string& bins, char separator) {
  Outcome run;
  run.result = ComputeHistogram(list, gauge, bins, separator,
                                [&](int percent) { run.gauges.push_back(percent); });
  return run;
}

std::vector<double> Ys(const std::vector<ChartPoint>& points) {
  std::vector<double> y;
  for (const ChartPoint& p : points) y.push_back(p.y);
  return y;
}

TEST(ComputeHistogram, SeriesOneToFourUnderEitherSeparator) {
  struct Case {
    char separator;
    std::vector<std::string> labels;  // mean, sd, skewness, kurtosis, Bera-Jarque
    std::string kurtosis_hint;
    std::vector<std::string> list;
  };
  const Case cases[] = {
      {'.',
       {"2.500", "1.118", "0.000", "1.640", "0.308"},
       "Statistics: -0.555 Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)",
       {"-1.34164078649987", "-0.447213595499958", "0.447213595499958", "1.34164078649987"}},
      {',',
       {"2,500", "1,118", "0,000", "1,640", "0,308"},
       "Statistics: -0,555 Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)",
       {"-1,34164078649987", "-0,447213595499958", "0,447213595499958", "1,34164078649987"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("separator ") + c.separator);
    VectorObservationList list = ImportedList({4, 2, 3, 1}, c.separator);
    const Outcome run = Compute(list, 0, "9", c.separator);

    ASSERT_TRUE(run.result.labels.has_value());
    const HistogramLabels& labels = *run.result.labels;
    EXPECT_EQ((std::vector<std::string>{labels.mean, labels.standard_deviation, labels.skewness,
                                        labels.kurtosis, labels.bera_jarque}),
              c.labels);
    EXPECT_EQ(labels.skewness_hint, std::string("Statistics: 0") + c.separator +
                                        "000 Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)");
    EXPECT_EQ(labels.kurtosis_hint, c.kurtosis_hint);
    EXPECT_EQ(list.items(), c.list);
    EXPECT_EQ(Ys(run.result.bars), (std::vector<double>{0, 0, 0.25, 0.25, 0, 0.25, 0.25, 0, 0}));
    EXPECT_EQ(run.result.curve.size(), 9u);
    EXPECT_EQ(run.gauges, (std::vector<int>{37, 100}));
    EXPECT_EQ(run.result.gauge, 100);
  }
}

TEST(ComputeHistogram, PreparedSeriesIsOnlyBinnedAgain) {
  VectorObservationList list = ImportedList({1, 2, 3, 4}, '.');
  Compute(list, 0, "9", '.');
  const std::vector<std::string> prepared = list.items();

  const Outcome again = Compute(list, 100, "1", '.');
  EXPECT_FALSE(again.result.labels.has_value());
  EXPECT_TRUE(again.gauges.empty());
  EXPECT_EQ(list.items(), prepared);
  ASSERT_EQ(again.result.bars.size(), 1u);
  EXPECT_EQ(again.result.bars[0].x, 0);
  EXPECT_EQ(again.result.bars[0].y, 1);
  ASSERT_EQ(again.result.curve.size(), 1u);
  EXPECT_NEAR(again.result.curve[0].y, 0.9973, 5e-5);
  EXPECT_EQ(again.result.gauge, 100);

  // Any gauge short of 100 means the list still holds a raw series.
  VectorObservationList fresh = ImportedList({1, 2, 3, 4}, '.');
  EXPECT_TRUE(Compute(fresh, 99, "9", '.').result.labels.has_value());
  EXPECT_EQ(fresh.items(), prepared);
}

TEST(ComputeHistogram, BinCountText) {
  VectorObservationList list = ImportedList({1, 2, 3, 4}, '.');
  Compute(list, 0, "9", '.');
  struct Case {
    std::string text;
    size_t points;
  };
  const Case cases[] = {{"", 1}, {"abc", 1}, {"0", 0}, {"-2", 0}, {"50", 50}, {"75", 50}};
  for (const Case& c : cases) {
    const Outcome run = Compute(list, 100, c.text, '.');
    EXPECT_EQ(run.result.bars.size(), c.points) << "'" << c.text << "'";
    EXPECT_EQ(run.result.curve.size(), c.points) << "'" << c.text << "'";
  }
}

TEST(ComputeHistogram, FailuresChangeNothing) {
  struct Case {
    std::vector<std::string> items;
    int gauge;
    std::string message;
  };
  const Case cases[] = {
      {{" 3", " 3", " 3"}, 0, "Invalid floating point operation"},
      {{" 0.1", " 0.1", " 0.1"}, 0, "Invalid floating point operation"},
      {{"-7"}, 0, "Invalid floating point operation"},
      {{" 3", " 3", " 3"}, 37, "Invalid floating point operation"},
      {{}, 0, "Invalid floating point operation"},
      {{}, 100, "Invalid floating point operation"},
      {{" 1", "x", " 3"}, 0, "'x' is not a valid floating point value"},
      {{" 1", " 2,5"}, 100, "' 2,5' is not a valid floating point value"},
      {{" 1", " 1E400"}, 0, "Floating point overflow"},
  };
  for (const Case& c : cases) {
    VectorObservationList list;
    for (const std::string& item : c.items) list.Append(item);
    std::vector<int> gauges;
    const HistogramResult result =
        ComputeHistogram(list, c.gauge, "9", '.', [&](int percent) { gauges.push_back(percent); });
    EXPECT_EQ(result.error, c.message) << ::testing::PrintToString(c.items);
    EXPECT_TRUE(result.bars.empty() && !result.labels) << ::testing::PrintToString(c.items);
    EXPECT_EQ(list.items(), c.items);
    EXPECT_TRUE(gauges.empty()) << ::testing::PrintToString(c.items);
  }
}

// A larger series: the list ends ascending, holds exactly the standardized
// texts of the input, the gauge runs through the stages of N = 500, and the
// bars count the list's own values.
TEST(ComputeHistogram, LargerSeriesEndsSortedAndStandardized) {
  std::mt19937 random(2024);
  std::normal_distribution<double> normal(10, 4);
  std::vector<double> values(500);
  for (double& v : values) v = std::round(normal(random) * 1000) / 1000;
  for (char separator : {'.', ','}) {
    VectorObservationList list = ImportedList(values, separator);
    const Outcome run = Compute(list, 0, "9", separator);
    EXPECT_EQ(run.gauges, (std::vector<int>{11, 22, 34, 45, 56, 69, 82, 100}));

    double sum = 0;
    for (double v : values) sum += v;
    const double mean = sum / 500;
    double s2 = 0;
    for (double v : values) s2 += (v - mean) * (v - mean);
    const double sd = std::sqrt(s2 / 500);
    std::vector<double> expected;
    for (double v : values) {
      expected.push_back(static_cast<double>(
          *ReadNumber(GeneralNumberText((v - mean) / sd, separator), separator)));
    }
    std::sort(expected.begin(), expected.end());

    std::vector<double> listed;
    for (const std::string& item : list.items()) {
      ASSERT_NE(item.front(), ' ') << item;
      listed.push_back(static_cast<double>(*ReadNumber(item, separator)));
    }
    EXPECT_EQ(listed, expected) << "separator " << separator;

    double in_bins = 0;
    for (double y : Ys(run.result.bars)) in_bins += y;
    int within = 0;
    for (double v : listed) within += (v >= -3 && v < 3);
    EXPECT_NEAR(in_bins, within / 500.0, 1e-12);
  }
}

}  // namespace
}  // namespace ixo

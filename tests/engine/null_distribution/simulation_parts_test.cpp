#include "simulation_parts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "normal_series.h"
#include "part_merge.h"

namespace ixo {
namespace {

bool SameBits(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

Simulation Range(int reps, int begin, int end, int threads) {
  Simulation s;
  s.replications = reps;
  s.seed = 11;
  s.threads = threads;
  s.begin = begin;
  s.end = end;
  return s;
}

// The cuts' parts of one run, written and read back as another machine would.
template <typename MakePart>
Result<Part> Merged(const std::vector<int>& cuts, const MakePart& make) {
  std::vector<PartText> texts;
  for (std::size_t k = 0; k + 1 < cuts.size(); ++k)
    texts.push_back({std::to_string(k), WritePart(make(cuts[k], cuts[k + 1]))});
  return MergePartTexts(texts);
}

const std::vector<std::vector<int>> kSplits = {
    {0, 25}, {0, 12, 25}, {0, 1, 9, 25}, {0, 4, 8, 11, 15, 19, 22, 25}};

TEST(SimulationParts, IxoPartsMergeToTheWholeRunBitForBit) {
  const std::vector<double> x = Normal(150, 3);
  IxoSettings plain;
  plain.max_dimension = 4;
  plain.eps_low = 0.1 + 0.2;  // a setting whose shortest text is long
  // Few close pairs at the top dimensions: some copies have no Ixo value there
  // and are left out of the p-value, which the counts must say.
  const IxoSettings sparse{0.3, 0.6, 10, 40, 7};
  for (const IxoSettings& settings : {plain, sparse}) {
    const Result<IxoPermutationTest> run = PermutationTestIxo(x, settings, Range(25, 0, -1, 2));
    ASSERT_TRUE(run.ok()) << run.error;
    const IxoPermutationTest& whole = *run.value;
    if (settings.max_dimension == 7) {
      const auto partly = [](const TailCounts& t) { return t.counted > 0 && t.counted < 25; };
      EXPECT_TRUE(std::any_of(whole.tails.begin(), whole.tails.end(), partly))
          << "the sparse settings leave no copy without a value";
    }
    for (const std::vector<int>& cuts : kSplits) {
      const Result<Part> merged = Merged(cuts, [&](int begin, int end) {
        const Simulation s = Range(25, begin, end, (begin % 2) + 1);
        const IxoPermutationTest range = PermutationTestIxo(x, settings, s).value.value();
        EXPECT_EQ(range.p_values.empty(), cuts.size() > 2) << "p-values only for the whole run";
        Part part = PartOfRun("test 1", kIxoPartCommand, s);
        SetIxoSettings(part, settings);
        AddIxoSeries(part, "x.txt", x, range);
        return part;
      });
      ASSERT_TRUE(merged.ok()) << merged.error;
      const Result<IxoSettings> read = IxoSettingsOf(*merged.value);
      ASSERT_TRUE(read.ok()) << read.error;
      EXPECT_TRUE(SameBits(read.value->eps_low, settings.eps_low));
      const Result<IxoPermutationTest> test = IxoTestFromPart(*merged.value, 0);
      ASSERT_TRUE(test.ok()) << test.error;
      ASSERT_EQ(test.value->p_values.size(), whole.p_values.size());
      for (std::size_t i = 0; i < whole.p_values.size(); ++i) {
        const std::string what = std::to_string(cuts.size() - 1) +
                                 " parts, m = " + std::to_string(whole.observed[i].dimension);
        EXPECT_TRUE(SameBits(test.value->observed[i].slope, whole.observed[i].slope)) << what;
        EXPECT_EQ(test.value->observed[i].points, whole.observed[i].points) << what;
        EXPECT_EQ(test.value->tails[i].at_most, whole.tails[i].at_most) << what;
        EXPECT_EQ(test.value->tails[i].at_least, whole.tails[i].at_least) << what;
        EXPECT_EQ(test.value->tails[i].counted, whole.tails[i].counted) << what;
        ASSERT_EQ(test.value->p_values[i].has_value(), whole.p_values[i].has_value()) << what;
        if (whole.p_values[i]) {
          EXPECT_TRUE(SameBits(*test.value->p_values[i], *whole.p_values[i])) << what;
          EXPECT_TRUE(SameBits(*test.value->p_adjusted[i], *whole.p_adjusted[i])) << what;
        }
      }
      ASSERT_TRUE(whole.p_overall.has_value());
      ASSERT_TRUE(test.value->p_overall.has_value()) << cuts.size() - 1 << " parts";
      EXPECT_TRUE(SameBits(*test.value->p_overall, *whole.p_overall))
          << cuts.size() - 1 << " parts";
      EXPECT_EQ(test.value->drawn, whole.drawn) << cuts.size() - 1 << " parts";
    }
  }
}

TEST(SimulationParts, BdsPartsMergeToTheWholeRunBitForBit) {
  // Three short series with a tie-heavy one, so that some cells have no statistic.
  const std::vector<double> x = Normal(60, 4);
  const BdsSettings settings{3, {0.5, 1.25, 3}};
  const Result<BdsPermutationTest> run =
      PermutationTestBds(x, settings.max_dimension, settings.eps, Range(25, 0, -1, 1));
  ASSERT_TRUE(run.ok()) << run.error;
  const BdsPermutationTest& whole = *run.value;
  for (const std::vector<int>& cuts : kSplits) {
    const Result<Part> merged = Merged(cuts, [&](int begin, int end) {
      const Simulation s = Range(25, begin, end, 2);
      const BdsPermutationTest range =
          PermutationTestBds(x, settings.max_dimension, settings.eps, s).value.value();
      Part part = PartOfRun("test 1", kBdsPartCommand, s);
      SetBdsSettings(part, settings);
      AddBdsSeries(part, "x.txt", x, range);
      return part;
    });
    ASSERT_TRUE(merged.ok()) << merged.error;
    const Result<BdsPermutationTest> test = BdsTestFromPart(*merged.value, 0);
    ASSERT_TRUE(test.ok()) << test.error;
    ASSERT_EQ(test.value->values.size(), whole.values.size());
    for (std::size_t i = 0; i < whole.values.size(); ++i) {
      const BdsValue& a = test.value->values[i];
      const BdsValue& b = whole.values[i];
      const std::string what = std::to_string(cuts.size() - 1) +
                               " parts, m = " + std::to_string(b.m) +
                               ", eps = " + std::to_string(b.eps);
      EXPECT_EQ(a.m, b.m) << what;
      EXPECT_TRUE(SameBits(a.eps, b.eps)) << what;
      ASSERT_EQ(a.bds.has_value(), b.bds.has_value()) << what;
      ASSERT_EQ(a.p_permutation.has_value(), b.p_permutation.has_value()) << what;
      if (!b.bds) continue;
      EXPECT_TRUE(SameBits(*a.bds, *b.bds)) << what;
      EXPECT_TRUE(SameBits(*a.p_normal, *b.p_normal)) << what;
      EXPECT_TRUE(SameBits(*a.p_permutation, *b.p_permutation)) << what;
      EXPECT_TRUE(SameBits(*a.p_adjusted, *b.p_adjusted)) << what;
    }
    ASSERT_TRUE(whole.p_overall.has_value());
    ASSERT_TRUE(test.value->p_overall.has_value()) << cuts.size() - 1 << " parts";
    EXPECT_TRUE(SameBits(*test.value->p_overall, *whole.p_overall)) << cuts.size() - 1 << " parts";
  }
}

TEST(SimulationParts, CriticalPartsMergeToTheWholeRunBitForBit) {
  IxoSettings settings;
  settings.max_dimension = 3;
  const Result<SimulatedCriticalValues> run =
      SimulateCriticalValues(80, settings, Range(25, 0, -1, 2));
  ASSERT_TRUE(run.ok()) << run.error;
  const SimulatedCriticalValues& whole = *run.value;
  for (const std::vector<int>& cuts : kSplits) {
    const Result<Part> merged = Merged(cuts, [&](int begin, int end) {
      const Simulation s = Range(25, begin, end, 1);
      const SimulatedCriticalValues range = SimulateCriticalValues(80, settings, s).value.value();
      EXPECT_EQ(range.rows.empty(), cuts.size() > 2) << "percentiles only for the whole run";
      EXPECT_EQ(range.replicated.size(), static_cast<std::size_t>(2 * (end - begin)));
      Part part = PartOfRun("test 1", kCriticalPartCommand, s);
      SetCriticalSettings(part, 80, settings);
      AddCriticalValues(part, range);
      return part;
    });
    ASSERT_TRUE(merged.ok()) << merged.error;
    EXPECT_EQ(CriticalLengthOf(*merged.value).value, 80);
    const Result<SimulatedCriticalValues> values = CriticalValuesFromPart(*merged.value);
    ASSERT_TRUE(values.ok()) << values.error;
    ASSERT_EQ(values.value->rows.size(), whole.rows.size());
    for (std::size_t i = 0; i < whole.rows.size(); ++i)
      for (std::size_t p = 0; p < whole.rows[i].values.size(); ++p)
        EXPECT_TRUE(SameBits(values.value->rows[i].values[p], whole.rows[i].values[p]))
            << cuts.size() - 1 << " parts, m = " << whole.rows[i].m << ", percentile " << p;
  }
}

TEST(SimulationParts, RangesOutsideTheRunAreRefused) {
  const std::vector<double> x = Normal(50, 5);
  IxoSettings settings;
  settings.max_dimension = 3;
  const double eps[] = {1.0};
  struct Case {
    int reps, begin, end, sequential;
    bool ok;
  };
  // The sequential rule stops on every replication before its stop: a range
  // of the run cannot follow it.
  const Case cases[] = {{10, 0, 10, 0, true},  {10, 3, 3, 0, true},   {10, 0, -1, 0, true},
                        {10, 4, 11, 0, false}, {10, -1, 5, 0, false}, {10, 6, 5, 0, false},
                        {0, 0, 1, 0, false},   {10, 0, -1, 2, true},  {10, 0, 10, 2, true},
                        {10, 0, 4, 2, false},  {10, 4, 10, 2, false}};
  for (const Case& c : cases) {
    Simulation s = Range(c.reps, c.begin, c.end, 1);
    s.sequential = c.sequential;
    const std::string what = std::to_string(c.begin) + ":" + std::to_string(c.end) + " of " +
                             std::to_string(c.reps) + ", sequential " +
                             std::to_string(c.sequential);
    EXPECT_EQ(PermutationTestIxo(x, settings, s).ok(), c.ok) << what;
    EXPECT_EQ(PermutationTestBds(x, 3, eps, s).ok(), c.ok) << what;
    if (c.reps > 0) {
      EXPECT_EQ(SimulateCriticalValues(50, settings, s).ok(), c.ok) << what;
    }
  }
}

TEST(SimulationParts, APartThatIsNotWholeOrNotItsOwnKindGivesNoResult) {
  const std::vector<double> x = Normal(50, 6);
  IxoSettings settings;
  settings.max_dimension = 3;
  const Simulation s = Range(10, 0, 4, 1);
  Part part = PartOfRun("test 1", kIxoPartCommand, s);
  SetIxoSettings(part, settings);
  AddIxoSeries(part, "x.txt", x, PermutationTestIxo(x, settings, s).value.value());
  EXPECT_EQ(IxoTestFromPart(part, 0).error, "the part holds only replications 0..3 of 0..9");
  part.end = 10;
  for (auto& cell : part.sections[1].cells) cell = 0;  // counts of a whole run, for the test
  part.sections[2].cells.resize(10 * 2, 0.0);          // and its rows
  EXPECT_TRUE(IxoTestFromPart(part, 0).ok());
  EXPECT_EQ(IxoTestFromPart(part, 1).error, "the part has no such series");
  EXPECT_EQ(BdsTestFromPart(part, 0).error, "a part of 'ixo', not of 'bds'");
  EXPECT_EQ(CriticalValuesFromPart(part).error, "a part of 'ixo', not of 'critical'");
  Part unusable = part;
  unusable.settings[0].second = "17";
  EXPECT_EQ(IxoTestFromPart(unusable, 0).error, "the part's setting m is unusable");
  unusable = part;
  unusable.settings[1].second = "0.6";
  EXPECT_EQ(IxoTestFromPart(unusable, 0).error, "the part's setting eps is unusable");
  unusable = part;
  unusable.settings.pop_back();
  EXPECT_EQ(IxoTestFromPart(unusable, 0).error, "the part's setting cm-limit is missing");
  unusable = part;
  unusable.sections[0].cells[0] = 3;  // the first row is not m = 2
  EXPECT_EQ(IxoTestFromPart(unusable, 0).error, "the part's sections do not fit its settings");
  unusable = part;
  unusable.sections.pop_back();
  EXPECT_EQ(IxoTestFromPart(unusable, 0).error, "the part's sections do not fit its settings");
  unusable = part;
  unusable.sections[2].cells.resize(9 * 2);  // a replication's row missing
  EXPECT_EQ(IxoTestFromPart(unusable, 0).error, "the part's sections do not fit its settings");
}

}  // namespace
}  // namespace ixo

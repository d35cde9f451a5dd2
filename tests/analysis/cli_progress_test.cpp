#include "analysis/cli_progress.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace ixo {
namespace {

TEST(LastProgress, TheLastWholeProgressLine) {
  const struct {
    std::string text;
    std::optional<std::pair<long long, long long>> progress;  // done, total
  } cases[] = {
      {"", std::nullopt},
      {"progress 0 999\n", {{0, 999}}},
      {"progress 0 999\nprogress 10 999\nprogress 999 999\n", {{999, 999}}},
      {"progress 0 999\r\nprogress 370 999\r\n", {{370, 999}}},
      // The line still being written is not read yet.
      {"progress 10 999\nprogress 20", {{10, 999}}},
      {"progress 10 999\nprogress 20 99", {{10, 999}}},
      // Other lines are passed over, in any place.
      {"progress 10 999\nstage sorting\n", {{10, 999}}},
      {"hello\nprogress 5 10\n\n", {{5, 10}}},
      // Lines that do not read as progress.
      {"progress 1000 999\n", std::nullopt},
      {"progress 1 0\n", std::nullopt},
      {"progress -1 10\n", std::nullopt},
      {"progress 1 -10\n", std::nullopt},
      {"progress 1  10\n", std::nullopt},
      {" progress 1 10\n", std::nullopt},
      {"progress 1 10 \n", std::nullopt},
      {"progress 1.5 10\n", std::nullopt},
      {"progress 1 10x\n", std::nullopt},
      {"progress 1\n", std::nullopt},
      {"progress\n", std::nullopt},
      {"Progress 1 10\n", std::nullopt},
      {"progress 1 99999999999999999999\n", std::nullopt},
      {"progress 1 1000000000000001\n", std::nullopt},
      {"progress 1 1000000000000000\n", {{1, 1000000000000000}}},
  };
  for (const auto& c : cases) {
    const std::optional<CliProgress> progress = LastProgress(c.text);
    ASSERT_EQ(progress.has_value(), c.progress.has_value()) << "'" << c.text << "'";
    if (progress) {
      EXPECT_EQ(progress->done, c.progress->first) << "'" << c.text << "'";
      EXPECT_EQ(progress->total, c.progress->second) << "'" << c.text << "'";
    }
  }
}

TEST(PValueStepMark, PercentRoundedDownElseTheSeconds) {
  const struct {
    std::optional<CliProgress> progress;
    int seconds;
    std::string mark;
  } cases[] = {
      {std::nullopt, 0, "[p-values]"},
      {std::nullopt, 1, "[p-values, 1 s]"},
      {std::nullopt, 25, "[p-values, 25 s]"},
      {CliProgress{0, 999}, 0, "[p-values 0 %]"},
      {CliProgress{370, 999}, 12, "[p-values 37 %]"},
      {CliProgress{998, 999}, 12, "[p-values 99 %]"},
      {CliProgress{999, 999}, 12, "[p-values 100 %]"},
      {CliProgress{999'999'999'999'999, 1'000'000'000'000'000}, 0, "[p-values 99 %]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PValueStepMark(c.progress, c.seconds), c.mark)
        << (c.progress ? c.progress->done : -1) << " " << c.seconds;
  }
}

}  // namespace
}  // namespace ixo

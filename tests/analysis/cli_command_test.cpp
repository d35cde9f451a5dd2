// ixo_cli's arguments fed to the real ixo_cli, beside the engine's basic line
// fed to the real engine: for every range both compute the same Ixo values,
// so the words name the same settings. The program directory has a blank in
// its name, as "Program Files" has.
#include "analysis/cli_command.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/cli_progress.h"
#include "analysis/curves_csv.h"
#include "analysis/engine_command.h"
#include "analysis/pvalue_table.h"
#include "analysis/result_text.h"
#include "platform/platform_run_host.h"
#include "run_directory.h"

#ifndef IXO_ENGINE_PATH
#error "IXO_ENGINE_PATH must name the built engine"
#endif
#ifndef IXO_CLI_PATH
#error "IXO_CLI_PATH must name the built ixo_cli"
#endif

namespace ixo {
namespace {

using testing::RunDirectory;
using testing::SmallSeries;

constexpr int kTopDimension = 3;

// A value as the engine writes it to output.tmp: three decimals.
std::string ThreeDecimals(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

class CliCommandTest : public ::testing::Test {
 protected:
  CliCommandTest() {
    std::filesystem::create_directory(program_directory_);
    std::filesystem::create_symlink(IXO_ENGINE_PATH, program_directory_ + "ixo_engine");
    std::filesystem::create_symlink(IXO_CLI_PATH, program_directory_ + "ixo_cli");
    dir_.Write("My Programs/input.tmp", SmallSeries(300));
  }

  // Runs `words` in the program directory to its end; false, after saying why,
  // when it could not start or ended other than with status 0.
  bool RunToEnd(const std::vector<std::string>& words) {
    if (const FileError error = host_.StartEngine(words)) {
      ADD_FAILURE() << *error;
      return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    EngineStatus status = host_.PollEngine();
    for (; !status.ended && std::chrono::steady_clock::now() < deadline;
         status = host_.PollEngine()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    host_.StopEngine();
    EXPECT_EQ(status.how, "exit status 0") << words[1] << ": " << status.error_text;
    return status.how == "exit status 0";
  }

  std::string Read(const std::string& name) { return dir_.Read("My Programs/" + name); }

  // The engine's value of dimension m from the basic line, as the grid gets it.
  std::string EngineValue(int m, int range) {
    if (!RunToEnd(SplitCommandLine(BasicCommandLine(m, range)))) return "no value";
    const ResultRead result = ParseResultText(Read("output.tmp"));
    return result.status == ResultRead::Status::kValue ? ThreeDecimals(result.value) : "no value";
  }

  RunDirectory dir_;
  const std::string program_directory_ = dir_.path() + "My Programs/";
  PlatformRunHost host_{program_directory_};
};

// The Ixo values of pvalues.tmp by dimension, to three decimals: the fourth
// field of each row after the header (the file name has no comma).
std::map<int, std::string> IxoValues(const std::string& csv) {
  std::map<int, std::string> values;
  size_t start = csv.find('\n') + 1;
  while (start < csv.size()) {
    const size_t end = csv.find('\n', start);
    std::vector<std::string> fields;
    std::string field;
    for (const char c : csv.substr(start, end - start)) {
      if (c == ',') {
        fields.push_back(field);
        field.clear();
      } else {
        field += c;
      }
    }
    fields.push_back(field);
    if (fields.size() == 9 && fields[2] != "all")
      values[std::stoi(fields[2])] = ThreeDecimals(std::stod(fields[3]));
    start = end == std::string::npos ? csv.size() : end + 1;
  }
  return values;
}

TEST_F(CliCommandTest, EveryRangeGivesTheEnginesValuesToBothRuns) {
  std::vector<std::string> second_dimension;  // the engine's m = 2, by range
  for (int range = 0; range < 4; ++range) {
    std::map<int, std::string> engine;
    for (int m = 2; m <= kTopDimension; ++m) engine[m] = EngineValue(m, range);
    second_dimension.push_back(engine[2]);

    ASSERT_TRUE(RunToEnd(PermutationArguments(kTopDimension, range, program_directory_))) << range;
    const std::string pvalues = Read("pvalues.tmp");
    EXPECT_EQ(IxoValues(pvalues), engine) << "range " << range << "\n" << pvalues;
    const PValueTable table = ParsePValueTable(pvalues);
    EXPECT_FALSE(table.error) << table.error.value_or("");
    EXPECT_EQ(table.p_values.size(), engine.size()) << range;
    // Its progress, as the window reads it, ends with every permutation drawn.
    const std::optional<CliProgress> progress = LastProgress(Read("progress.tmp"));
    ASSERT_TRUE(progress) << Read("progress.tmp");
    EXPECT_EQ(progress->done, 999);
    EXPECT_EQ(progress->total, 999);

    ASSERT_TRUE(RunToEnd(CurvesArguments(kTopDimension, range, program_directory_))) << range;
    const CurvesParse curves = ParseCurvesCsv(Read("curves.tmp"));
    ASSERT_TRUE(curves.table) << curves.error;
    std::map<int, std::string> slopes;
    for (const CurveFitRow& fit : curves.table->fits) slopes[fit.m] = ThreeDecimals(fit.slope);
    EXPECT_EQ(slopes, engine) << "range " << range;
  }
  // Four ranges, four different settings: no index falls back on another's range.
  for (size_t i = 0; i < second_dimension.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      EXPECT_NE(second_dimension[i], second_dimension[j]) << "ranges " << j << " and " << i;
    }
  }
}

TEST_F(CliCommandTest, RangeOutsideTheListIsRefusedAsTheEngineRefusesIt) {
  for (const int range : {-1, 4}) {
    for (const std::vector<std::string>& words :
         {SplitCommandLine(BasicCommandLine(2, range)),
          PermutationArguments(2, range, program_directory_),
          CurvesArguments(2, range, program_directory_)}) {
      ASSERT_FALSE(host_.StartEngine(words));
      EngineStatus status = host_.PollEngine();
      while (!status.ended) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        status = host_.PollEngine();
      }
      EXPECT_NE(status.how, "exit status 0") << words[0] << " " << words[1] << ", range " << range;
      EXPECT_FALSE(status.error_text.empty()) << words[0] << " " << words[1];
    }
  }
  EXPECT_FALSE(std::filesystem::exists(program_directory_ + "pvalues.tmp"));
  EXPECT_FALSE(std::filesystem::exists(program_directory_ + "curves.tmp"));
}

}  // namespace
}  // namespace ixo

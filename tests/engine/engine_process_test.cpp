// Runs the built ixo_engine as a process, each test in a directory of its own,
// and checks what a user or the front end sees: the report and the usage text
// byte for byte, the exit status, standard error and output.tmp.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#ifndef IXO_ENGINE_PATH
#error "IXO_ENGINE_PATH must name the built ixo_engine"
#endif

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "\nProgram for computing Ixo-statistic:\n\n"
    " USAGE: ixo_engine.exe [filename] [m] [eps_low] [eps_high] \n\n"
    " filename  ...  contains the time series in a single column\n"
    " m         ...  maximum embedding dimension \n"
    " eps_low   ...  lowest fraction of the SD \n"
    " eps_high  ...  highest fraction of the SD \n\n"
    " compilation: January the 5th, 2004\n";

constexpr const char* kOldResult = "previous result\n";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The report without its last line, whose time varies; checks that line's form.
std::string WithoutTimeLine(const std::string& report) {
  static const std::regex time_line("\n the computation time = [0-9]+:[0-5][0-9] min\n$");
  std::smatch match;
  if (!std::regex_search(report, match, time_line)) return "(no time line) " + report;
  return report.substr(0, report.size() - match.length() + 1);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class EngineProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::path(::testing::TempDir()) /
            ("ixo_engine_process_" +
             std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "work");
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path Work() const { return root_ / "work"; }

  void Write(const std::string& name, const std::string& text) {
    std::ofstream(Work() / name, std::ios::binary) << text;
  }

  // The worked example and a small chaotic series (the logistic map, 60 values).
  void WriteExamples() {
    Write("ex.txt", "1\n2\n3\n10\n");
    std::string text;
    double v = 0.3;
    for (int i = 0; i < 60; ++i) {
      v = 4 * v * (1 - v);
      char line[32];
      std::snprintf(line, sizeof line, "%.6f\n", v);
      text += line;
    }
    Write("logi60.txt", text);
  }

  // Runs the engine in Work() with `args`, under a time limit so that a hang fails.
  Outcome Run(const std::vector<std::string>& args, const std::string& prefix = "") {
    std::string command =
        prefix + "cd '" + Work().string() + "' && timeout 120 '" IXO_ENGINE_PATH "'";
    for (const std::string& a : args) command += " '" + a + "'";
    command += " >'" + (root_ / "stdout").string() + "' 2>'" + (root_ / "stderr").string() + "'";
    const int raw = std::system(command.c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + raw;
    o.out = ReadAll(root_ / "stdout");
    o.err = ReadAll(root_ / "stderr");
    return o;
  }

  std::string Result() { return ReadAll(Work() / "output.tmp"); }
  bool HasResult() { return fs::exists(Work() / "output.tmp"); }

  // A failed run: the usage text or nothing on standard output, one line on
  // standard error that contains `named`, a non-zero status, output.tmp as before.
  void ExpectRefused(const std::vector<std::string>& args, const std::string& named) {
    Write("output.tmp", kOldResult);
    const Outcome o = Run(args);
    std::string shown;
    for (const std::string& a : args) shown += a + " ";
    EXPECT_NE(o.status, 0) << shown;
    EXPECT_NE(o.status, 124) << shown << "(timed out)";
    EXPECT_EQ(Lines(o.err).size(), 1u) << shown << o.err;
    EXPECT_EQ(o.err.back(), '\n') << shown;
    EXPECT_NE(o.err.find(named), std::string::npos) << shown << "-> " << o.err;
    EXPECT_EQ(Result(), kOldResult) << shown;
    EXPECT_EQ(o.out.find("ixo ="), std::string::npos) << shown << o.out;
    EXPECT_EQ(o.out.find("nan"), std::string::npos) << shown << o.out;
  }

  fs::path root_;
};

TEST_F(EngineProcess, NoArgumentsPrintsTheUsageText) {
  const Outcome o = Run({});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, kUsage);
  EXPECT_EQ(o.err, "");
}

TEST_F(EngineProcess, WorkedExampleBds) {
  WriteExamples();
  // sd = 4.08248, so eps = 0.25 sd = 1.02: the close pairs of eps = 1.
  const Outcome o = Run({"ex.txt", "2", "0.25", "1", "1", "1", "2"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(WithoutTimeLine(o.out),
            "\n program for computing Ixo-statistic:\n\n"
            " filename  = ex.txt\n"
            " nob       = 4\n"
            " mean      = 4.00000\n"
            " sd        = 4.08248\n"
            " spread    = 9.00000\n"
            " sd/spread = 0.45361\n\n"
            " epsilon low         = 0.25\n"
            " epsilon high        = 1.00\n"
            " number of intervals = 1\n"
            " max dimension       = 2\n"
            " cm limit            = 1\n\n"
            " BDS   = 6.158403 \n"
            "\n");
  EXPECT_EQ(Result(), "6.158\n");
}

TEST_F(EngineProcess, ReportByteForByte) {
  WriteExamples();
  Write("output.tmp", kOldResult);
  const Outcome o = Run({"logi60.txt", "4", "0.6", "1.9", "10", "5"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(WithoutTimeLine(o.out),
            "\n program for computing Ixo-statistic:\n\n"
            " filename  = logi60.txt\n"
            " nob       = 60\n"
            " mean      = 0.53119\n"
            " sd        = 0.34492\n"
            " spread    = 0.98431\n"
            " sd/spread = 0.35042\n\n"
            " epsilon low         = 0.60\n"
            " epsilon high        = 1.90\n"
            " number of intervals = 10\n"
            " max dimension       = 4\n"
            " cm limit            = 5\n\n"
            "  2. ixo = 0.996 (n=11)\n"
            "  3. ixo = 1.107 (n=11)\n"
            "  4. ixo = 1.262 (n=11)\n"
            "\n");
  EXPECT_EQ(Result(), kOldResult);  // write mode 0 leaves output.tmp alone
}

TEST_F(EngineProcess, OneArgumentUsesTheDefaults) {
  WriteExamples();
  const Outcome o = Run({"logi60.txt"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find(" epsilon low         = 0.25\n epsilon high        = 1.00\n"
                       " number of intervals = 40\n max dimension       = 10\n"
                       " cm limit            = 50\n\n  2. ixo"),
            std::string::npos)
      << o.out;
  for (int j = 2; j <= 10; ++j) {
    char start[8];
    std::snprintf(start, sizeof start, "\n %2d. ", j);
    EXPECT_NE(o.out.find(start), std::string::npos) << "dimension " << j << "\n" << o.out;
  }
  EXPECT_FALSE(HasResult());
}

TEST_F(EngineProcess, FourArgumentsTakeSubintAndCmLimitDefaults) {
  WriteExamples();
  const Outcome o = Run({"logi60.txt", "3", "0.3", "1.2"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find(" number of intervals = 40\n max dimension       = 3\n"
                       " cm limit            = 50\n\n  2. ixo"),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find("\n  3. ixo"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find("\n  4. ixo"), std::string::npos) << o.out;
  EXPECT_FALSE(HasResult());
}

TEST_F(EngineProcess, WriteModeOneReportsAndWritesDimensionMOnly) {
  WriteExamples();
  const Outcome o = Run({"logi60.txt", "3", "0.3", "1.2", "40", "5", "1"});
  EXPECT_EQ(o.status, 0) << o.err;
  const std::string report = WithoutTimeLine(o.out);
  EXPECT_NE(report.find(" cm limit            = 5\n\n  3. ixo = 1.008 (n=41)\n\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(report.find("  2. ixo"), std::string::npos) << report;
  EXPECT_EQ(Result(), "1.008\n");
}

TEST_F(EngineProcess, SeventhArgumentOtherThanOneOrTwoIsWriteModeZero) {
  WriteExamples();
  for (std::vector<std::string> args :
       {std::vector<std::string>{"logi60.txt", "3", "0.3", "1.2", "40", "5", "3"},
        std::vector<std::string>{"logi60.txt", "3", "0.3", "1.2", "40", "5", "1", "1"},
        std::vector<std::string>{"logi60.txt", "3", "0.3", "1.2", "40", "5", "2", "x", "y"}}) {
    const Outcome o = Run(args);
    EXPECT_EQ(o.status, 0) << args.size() << o.err;
    EXPECT_NE(o.out.find("  2. ixo = 0.975 (n=41)\n  3. ixo = 1.008 (n=41)\n"), std::string::npos)
        << args.size() << o.out;
    EXPECT_FALSE(HasResult()) << args.size();
  }
}

TEST_F(EngineProcess, SubintIsTruncated) {
  WriteExamples();
  const Outcome o = Run({"logi60.txt", "2", "0.6", "1.9", "40.9", "50.9", "1"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find(" number of intervals = 40\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find(" cm limit            = 50\n"), std::string::npos) << o.out;
  // 41 grid points at most.
  const std::smatch m = [&] {
    std::smatch match;
    std::regex_search(o.out, match, std::regex(R"(\(n=([0-9]+)\))"));
    return match;
  }();
  ASSERT_FALSE(m.empty()) << o.out;
  EXPECT_LE(std::stoi(m[1]), 41);
}

TEST_F(EngineProcess, NoUsablePointOrNoSlopeGivesTheDashLineAndZero) {
  // No grid point above the Cm limit; equal grid distances; a count that does
  // not change over the grid (0, 1, 2 repeated: distinct 3-histories lie 2 apart).
  WriteExamples();
  std::string cycle;
  for (int i = 0; i < 300; ++i) cycle += std::to_string(i % 3) + "\n";
  Write("cycle.txt", cycle);
  struct Case {
    std::vector<std::string> args;
    const char* line;
  };
  const Case cases[] = {
      {{"logi60.txt", "3", "0.6", "1.9", "40", "100000", "1"}, "  3. ixo =      ---     (n=0)"},
      {{"logi60.txt", "4", "0.5", "0.5", "200", "1", "1"}, "  4. ixo =      ---     (n=201)"},
      {{"cycle.txt", "8", "0.6", "1.9", "40", "50", "1"}, "  8. ixo =      ---     (n=41)"},
  };
  for (const Case& c : cases) {
    const Outcome o = Run(c.args);
    EXPECT_EQ(o.status, 0) << c.args[0] << o.err;
    EXPECT_NE(o.out.find(std::string("\n") + c.line + "\n"), std::string::npos) << o.out;
    EXPECT_EQ(Result(), "0.000\n") << c.args[0] << " " << c.args[4];
  }
}

TEST_F(EngineProcess, EpsHighBelowEpsLowGivesTheSwappedSlope) {
  WriteExamples();
  const Outcome up = Run({"logi60.txt", "4", "0.6", "1.9", "40", "5"});
  const Outcome down = Run({"logi60.txt", "4", "1.9", "0.6", "40", "5"});
  const auto dimension_lines = [](const std::string& out) {
    std::string lines;
    for (const std::string& l : Lines(out))
      if (l.find(". ixo =") != std::string::npos) lines += l + "\n";
    return lines;
  };
  EXPECT_EQ(dimension_lines(up.out).size() > 0, true) << up.out;
  EXPECT_EQ(dimension_lines(up.out), dimension_lines(down.out));
}

TEST_F(EngineProcess, DimensionOneComputesNoDimension) {
  WriteExamples();
  Outcome o = Run({"logi60.txt", "1", "0.6", "1.9"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out.find(". ixo"), std::string::npos) << o.out;
  o = Run({"logi60.txt", "1", "0.6", "1.9", "40", "50", "1"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Result(), "0.000\n");
}

TEST_F(EngineProcess, AnyScaleGivesTheSameReportAndResult) {
  // The Ixo value and the BDS statistic do not depend on the unit of the
  // series: the first 300 values of the normal example times each scale give
  // the report of scale 1 but for the lines in the series' units, and the same
  // output.tmp. Squares of deviations near 1e-161 leave the normal doubles.
  std::ifstream in(IXO_EXAMPLES_DIR "/normal.txt");
  std::vector<double> x;
  for (double v; x.size() < 300 && in >> v;) x.push_back(v);
  // The report without the lines that carry the series' units or the file name.
  const auto unitless = [](const std::string& report) {
    std::string kept;
    for (const std::string& l : Lines(WithoutTimeLine(report))) {
      if (l.rfind(" filename", 0) == 0 || l.rfind(" mean ", 0) == 0 || l.rfind(" sd ", 0) == 0 ||
          l.rfind(" spread ", 0) == 0)
        continue;
      kept += l + "\n";
    }
    return kept;
  };
  const std::vector<std::vector<std::string>> runs = {{"10", "0.60", "1.90", "40", "50"},
                                                      {"10", "0.60", "1.90", "40", "50", "1"},
                                                      {"3", "0.5", "1", "1", "1", "2"}};
  std::vector<std::string> reports;
  std::vector<std::string> results;
  for (const char* scale : {"1", "1e-100", "1e-161", "1e-200", "1e-300", "1e100"}) {
    std::string text;
    for (double v : x) {
      char line[40];
      std::snprintf(line, sizeof line, "%.17g\n", v * std::strtod(scale, nullptr));
      text += line;
    }
    Write("scaled.txt", text);
    for (std::size_t r = 0; r < runs.size(); ++r) {
      std::vector<std::string> args = runs[r];
      args.insert(args.begin(), "scaled.txt");
      fs::remove(Work() / "output.tmp");
      const Outcome o = Run(args);
      ASSERT_EQ(o.status, 0) << "scale " << scale << ": " << o.err;
      const std::string result = r == 0 ? "" : Result();
      if (reports.size() < runs.size()) {
        reports.push_back(unitless(o.out));
        results.push_back(result);
        continue;
      }
      EXPECT_EQ(unitless(o.out), reports[r]) << "scale " << scale << " run " << r;
      EXPECT_EQ(result, results[r]) << "scale " << scale << " run " << r;
    }
  }
  EXPECT_NE(reports[0].find("  2. ixo = 1.632 (n=41)\n"), std::string::npos) << reports[0];
}

TEST_F(EngineProcess, LongSeriesGrowsItsStorage) {
  std::string text;
  double v = 0.123;
  for (int i = 0; i < 12000; ++i) {
    v = 4 * v * (1 - v);
    text += std::to_string(v) + "\n";
  }
  Write("long.txt", text);
  const Outcome o = Run({"long.txt", "2", "0.05", "0.1", "2", "50", "1"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find(" nob       = 12000\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("  2. ixo = "), std::string::npos) << o.out;
  EXPECT_TRUE(HasResult());
}

TEST_F(EngineProcess, WrongArgumentCountsShowUsageAndFail) {
  WriteExamples();
  for (std::vector<std::string> args :
       {std::vector<std::string>{"logi60.txt", "3"},
        std::vector<std::string>{"logi60.txt", "3", "0.6"},
        std::vector<std::string>{"logi60.txt", "3", "0.6", "1.9", "40"}}) {
    ExpectRefused(args, "got " + std::to_string(args.size()));
    EXPECT_EQ(Run(args).out, kUsage);
  }
}

TEST_F(EngineProcess, RefusesBadArguments) {
  WriteExamples();
  ExpectRefused({"logi60.txt", "17", "0.6", "1.9"}, "m '17'");
  ExpectRefused({"logi60.txt", "0", "0.6", "1.9"}, "m '0'");
  ExpectRefused({"logi60.txt", "3", "0", "1.9"}, "eps_low '0'");
  ExpectRefused({"logi60.txt", "3", "abc", "1.9"}, "eps_low 'abc'");
  ExpectRefused({"logi60.txt", "3", "0.6", "-1"}, "eps_high '-1'");
  ExpectRefused({"logi60.txt", "3", "0.6", "nan"}, "eps_high 'nan'");
  ExpectRefused({"logi60.txt", "3", "0.6", "1.9", "0", "50", "1"}, "subint '0'");
  ExpectRefused({"logi60.txt", "3", "0.6", "1.9", "40", "-1", "1"}, "cm_limit '-1'");
}

TEST_F(EngineProcess, RefusesSeriesFilesWithoutAResult) {
  Write("words.txt", "1\n2\nabc\n4\n");
  Write("nan.txt", "1\nnan\n3\n");
  Write("inf.txt", "1\n2\n3\ninf\n");
  Write("huge.txt", "1\n1e999\n");
  Write("one.txt", "5\n");
  Write("empty.txt", "");
  Write("constant.txt", "2\n2\n2\n2\n");
  ExpectRefused({"missing.txt"}, "'missing.txt'");
  ExpectRefused({"words.txt", "2", "0.6", "1.9", "40", "50", "1"},
                "'abc' on line 3 of 'words.txt'");
  ExpectRefused({"nan.txt"}, "'nan' on line 2");
  ExpectRefused({"inf.txt"}, "'inf' on line 4");
  ExpectRefused({"huge.txt"}, "'1e999' on line 2");
  ExpectRefused({"one.txt", "2", "0.6", "1.9", "40", "50", "1"}, "holds 1 value");
  ExpectRefused({"empty.txt"}, "holds 0 value");
  ExpectRefused({"constant.txt", "2", "0.6", "1.9", "40", "50", "1"}, "constant");
  // m must leave at least two histories.
  ExpectRefused({"constant.txt", "4", "0.6", "1.9"}, "m = 4 needs at least 5 values");
}

TEST_F(EngineProcess, BdsWithoutPositiveVarianceIsRefused) {
  WriteExamples();
  // Dimension 1: the variance is always 0.
  ExpectRefused({"logi60.txt", "1", "0.5", "1", "1", "1", "2"}, "BDS variance");
  // eps beyond the spread: every pair is close, K = c^2 = 1.
  ExpectRefused({"logi60.txt", "2", "5", "1", "1", "1", "2"}, "BDS variance");
  // Like every other refusal, it prints nothing on standard output.
  EXPECT_EQ(Run({"logi60.txt", "1", "0.5", "1", "1", "1", "2"}).out, "");
  EXPECT_EQ(Run({"logi60.txt", "2", "5", "1", "1", "1", "2"}).out, "");
}

TEST_F(EngineProcess, FailedWriteLeavesNoFileBehind) {
  WriteExamples();
  fs::create_directory(Work() / "output.tmp");  // in the way of the rename
  const Outcome o = Run({"logi60.txt", "2", "0.6", "1.9", "40", "5", "1"});
  EXPECT_NE(o.status, 0);
  EXPECT_EQ(Lines(o.err).size(), 1u) << o.err;
  EXPECT_NE(o.err.find("output.tmp"), std::string::npos) << o.err;
  EXPECT_TRUE(fs::is_directory(Work() / "output.tmp"));
  // Only ex.txt, logi60.txt and output.tmp: no temporary file left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(Work()), fs::directory_iterator()), 3);
}

}  // namespace

#include "cli.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/curves_csv.h"
#include "cli_folder.h"
#include "correlation_curves.h"
#include "grid.h"
#include "ixo_slopes.h"
#include "pair_counts.h"
#include "permutation_tests.h"
#include "random_stream.h"
#include "result_table.h"
#include "statistics.h"
#include "step_down_min_p.h"
#include "tables/critical_values.h"

namespace ixo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, separator)) parts.push_back(part);
  if (!text.empty() && text.back() == separator) parts.push_back("");
  return parts;
}

class Cli : public CliFolder {
 protected:
  // A series of n values of our own generator: i.i.d. normal, or the logistic map.
  std::string WriteSeries(const std::string& name, int n, bool chaotic = false) {
    std::string text;
    RandomStream stream(n, 0);
    double v = 0.3;
    for (int i = 0; i < n; ++i) {
      v = chaotic ? 4 * v * (1 - v) : stream.Normal();
      char line[40];
      std::snprintf(line, sizeof line, "%.17g\n", v);
      text += line;
    }
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
};

TEST_F(Cli, IxoCsvAsTheWindowReadsIt) {
  // The window's command line; n = 820 lies in the class of 1000, within 20 %.
  const std::string series = WriteSeries("input.tmp", 820);
  const Outcome o = Run({"ixo", series, "--m", "4", "--eps", "0.60:1.90", "--reps", "19",
                         "--output", Path("pvalues.tmp"), "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "");
  const std::vector<std::string> lines = Split(ReadAll(Path("pvalues.tmp")), '\n');
  ASSERT_EQ(lines.size(), 6u);  // header, m = 2..4, "all", the empty rest after the last line break
  EXPECT_EQ(lines[0], "file,n,m,ixo,points,class,verdict,p_value,p_adjusted");

  std::vector<double> x;
  std::ifstream in(series);
  for (double v; in >> v;) x.push_back(v);
  IxoSettings settings;
  settings.max_dimension = 4;
  const Result<IxoPermutationTest> result =
      PermutationTestIxo(x, settings, {19, kDefaultSeed, 1, {}, {}});
  ASSERT_TRUE(result.ok()) << result.error;
  const IxoPermutationTest& test = *result.value;
  for (int m = 2; m <= 4; ++m) {
    const std::vector<std::string> f = Split(lines[m - 1], ',');
    ASSERT_EQ(f.size(), 9u) << lines[m - 1];
    EXPECT_EQ(f[0], series);
    EXPECT_EQ(f[1], "820");
    EXPECT_EQ(f[2], std::to_string(m));
    EXPECT_EQ(std::strtod(f[3].c_str(), nullptr), test.observed[m - 2].slope);  // round trip
    EXPECT_EQ(f[4], std::to_string(test.observed[m - 2].points));
    EXPECT_EQ(f[5], "1000");
    char rounded[32];
    std::snprintf(rounded, sizeof rounded, "%.3f", test.observed[m - 2].slope);
    EXPECT_EQ(f[6], Verdict(std::strtod(rounded, nullptr), 0, m, 1));
    EXPECT_EQ(std::strtod(f[7].c_str(), nullptr), test.p_values[m - 2]);
    EXPECT_EQ(std::strtod(f[8].c_str(), nullptr), test.p_adjusted[m - 2]);
  }
  ASSERT_TRUE(test.p_overall);
  EXPECT_EQ(lines[4], series + ",820,all,,,," + PValueVerdict(*test.p_overall) + "," +
                          NumberText(*test.p_overall) + "," + NumberText(*test.p_overall));
  EXPECT_FALSE(fs::exists(Path("pvalues.tmp") + ".part"));
}

TEST_F(Cli, CurvesHoldTheEnginesCountsAndSlopes) {
  // As the window asks for them, and with a Cm limit that skips points; the
  // csv read by the window's own parser.
  const std::vector<std::string> extras[] = {{}, {"--eps", "0.25:1.00", "--cm-limit", "500"}};
  for (const char* name : {"logistic.txt", "normal.txt"}) {
    for (const std::vector<std::string>& extra : extras) {
      const std::string file = std::string(IXO_EXAMPLES_DIR) + "/" + name;
      std::vector<std::string> args = {"curves", file, "--format", "csv"};
      args.insert(args.end(), extra.begin(), extra.end());
      const Outcome o = Run(args);
      ASSERT_EQ(o.status, 0) << o.err;
      const CurvesParse parsed = ParseCurvesCsv(o.out);
      ASSERT_TRUE(parsed.table) << name << ": " << parsed.error;
      const CurvesTable& table = *parsed.table;

      std::vector<double> x;
      std::ifstream in(file);
      for (double v; in >> v;) x.push_back(v);
      const Statistics s = Describe(x);
      const bool low = !extra.empty();
      const int cm_limit = low ? 500 : 50;
      const DistanceGrid grid(low ? 0.25 : 0.60, low ? 1.00 : 1.90, s.sd, 40);
      std::vector<double> distances;
      for (int k = 0; k <= 40; ++k) distances.push_back(grid.Point(k));
      const PairCounts counts = CountClosePairs(x, distances, 10);
      const std::vector<DimensionSlope> slopes = IxoSlopes({x, grid, s.spread, cm_limit}, 2, 10);

      ASSERT_EQ(table.points.size(), 9u * 41u) << name;
      ASSERT_EQ(table.fits.size(), 9u) << name;
      int skipped = 0;
      for (const CurvePointRow& p : table.points) {
        const std::string what =
            std::string(name) + " m=" + std::to_string(p.m) + " k=" + std::to_string(p.k);
        EXPECT_EQ(p.eps, distances[p.k]) << what;
        EXPECT_EQ(p.pairs, static_cast<double>(counts.At(p.m, p.k))) << what;
        EXPECT_EQ(p.used, p.pairs > cm_limit) << what;
        skipped += p.used ? 0 : 1;
      }
      EXPECT_TRUE(!low || skipped > 0) << name;
      for (size_t i = 0; i < slopes.size(); ++i) {
        EXPECT_EQ(table.fits[i].m, slopes[i].dimension) << name;
        EXPECT_EQ(table.fits[i].slope, slopes[i].slope) << name << " m=" << table.fits[i].m;
        EXPECT_EQ(table.fits[i].points, slopes[i].points) << name << " m=" << table.fits[i].m;
      }
    }
  }
}

TEST_F(Cli, CurvesPrintTheWholeCountAndTheEnginesLogarithm) {
  // What curves --help promises of its numbers: pairs the whole count, y the
  // logarithm of the engine's own pairs (the count up to rounding), so that a
  // fit through the y read back gives the Ixo value.
  const Outcome help = Run({"curves", "--help"});
  EXPECT_NE(help.out.find("pairs the number of close pairs as a whole number"), std::string::npos)
      << help.out;
  EXPECT_EQ(help.out.find("Numbers read back to the computed doubles"), std::string::npos)
      << help.out;
  const std::string file = std::string(IXO_EXAMPLES_DIR) + "/normal.txt";
  const Outcome o = Run({"curves", file, "--m", "3", "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  std::vector<double> x;
  std::ifstream in(file);
  for (double v; in >> v;) x.push_back(v);
  const Statistics s = Describe(x);
  const std::vector<CorrelationCurve> curves =
      CorrelationCurves({x, DistanceGrid(0.60, 1.90, s.sd, 40), s.spread, 50}, 2, 3);
  const std::vector<std::string> lines = Split(o.out, '\n');
  std::size_t row = 1;
  for (const CorrelationCurve& curve : curves) {
    for (const CurvePoint& p : curve.points) {
      ASSERT_LT(row, lines.size());
      const std::vector<std::string> f = Split(lines[row++], ',');
      ASSERT_EQ(f.size(), 7u) << lines[row - 1];
      EXPECT_EQ(f[4], std::to_string(std::llround(p.pairs))) << lines[row - 1];
      EXPECT_EQ(std::strtod(f[5].c_str(), nullptr), p.y) << lines[row - 1];
    }
  }
}

TEST_F(Cli, EveryCommandGivesTheSameBytesOnOneAndTwoThreads) {
  const std::string series = WriteSeries("s.txt", 150);
  const std::vector<std::vector<std::string>> commands = {
      {"ixo", series, "--m", "3", "--reps", "30"},
      {"ixo", series, "--m", "3", "--reps", "60", "--sequential", "2", "--format", "csv"},
      {"test", series, "--m", "3", "--bds-eps", "1", "--reps", "30", "--format", "csv"},
      {"bds", series, "--m", "3", "--eps", "0.5,1.5", "--reps", "30", "--format", "json"},
      {"critical", "--n", "120", "--m", "3", "--reps", "30", "--format", "csv"},
  };
  for (const auto& command : commands) {
    std::vector<std::string> one = command;
    one.insert(one.end(), {"--threads", "1"});
    std::vector<std::string> two = command;
    two.insert(two.end(), {"--threads", "2"});
    const Outcome a = Run(one);
    const Outcome b = Run(two);
    EXPECT_EQ(a.status, 0) << command[0] << a.err;
    EXPECT_EQ(a.out, b.out) << command[0];
    EXPECT_GT(a.out.size(), 100u) << command[0];
  }
}

TEST_F(Cli, BdsAndCriticalColumns) {
  const std::string chaotic = WriteSeries("logistic.txt", 150, true);
  Outcome o = Run({"bds", chaotic, "--m", "2", "--eps", "1", "--reps", "199", "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  std::vector<std::string> lines = Split(o.out, '\n');
  ASSERT_EQ(lines.size(), 4u) << o.out;
  EXPECT_EQ(lines[0], "file,n,m,eps,bds,p_normal,p_permutation,p_adjusted");
  std::vector<std::string> f = Split(lines[1], ',');
  ASSERT_EQ(f.size(), 8u);
  EXPECT_EQ(f[1] + " " + f[2] + " " + f[3], "150 2 1");
  EXPECT_EQ(f[6], "0.01");  // 2 / 200: beyond every permutation
  EXPECT_EQ(f[7], "0.01");  // a family of one
  EXPECT_EQ(lines[2], chaotic + ",150,all,,,,0.01,0.01");

  // The joint test of the same permutations: both families beyond all 199.
  o = Run({"test", chaotic, "--m", "2", "--bds-eps", "1", "--reps", "199", "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, "file,n,p_overall,verdict,smallest,p_smallest\n" + chaotic +
                       ",150,0.01,reject at 2%,ixo m=2,0.01\n");
  // The same test, one row per statistic: each p-value is the one of ixo and
  // bds above, then the overall row.
  o = Run({"test", chaotic, "--m", "2", "--bds-eps", "1", "--reps", "199", "--rows", "statistic",
           "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  lines = Split(o.out, '\n');
  ASSERT_EQ(lines.size(), 5u) << o.out;
  EXPECT_EQ(lines[0], "file,n,statistic,value,p_value,p_adjusted");
  for (const auto& [row, name] : {std::pair{1, "ixo m=2"}, {2, "bds m=2 eps=1"}}) {
    f = Split(lines[row], ',');
    ASSERT_EQ(f.size(), 6u) << lines[row];
    EXPECT_EQ(f[2] + " " + f[4] + " " + f[5], std::string(name) + " 0.01 0.01");
  }
  EXPECT_EQ(lines[3], chaotic + ",150,all,,0.01,0.01");

  // The normal p-value only where the normal law serves: n >= 200 m and eps
  // from 0.5 to 2 sd; the permutation p-value everywhere.
  const std::string iid = WriteSeries("iid.txt", 500);
  o = Run({"bds", iid, "--m", "3", "--eps", "1,5", "--reps", "19", "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  lines = Split(o.out, '\n');
  ASSERT_EQ(lines.size(), 7u) << o.out;
  for (int row = 1; row <= 4; ++row) {
    f = Split(lines[row], ',');
    ASSERT_EQ(f.size(), 8u) << lines[row];
    EXPECT_EQ(f[5].empty(), f[2] != "2" || f[3] != "1") << lines[row];
    EXPECT_FALSE(f[6].empty()) << lines[row];
  }

  o = Run({"critical", "--n", "100", "--m", "2", "--reps", "20", "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  lines = Split(o.out, '\n');
  ASSERT_EQ(lines.size(), 3u) << o.out;
  EXPECT_EQ(lines[0], "n,m,reps,p0.5,p1,p2.5,p5,p95,p97.5,p99,p99.5,undefined");
  EXPECT_EQ(lines[1].substr(0, 9), "100,2,20,");
  EXPECT_EQ(Split(lines[1], ',').size(), 12u);
  EXPECT_EQ(Split(lines[1], ',').back(), "0");

  // Series without an Ixo value are counted apart, not taken as 0; where most
  // have none, the command fails.
  o = Run({"critical", "--n", "40", "--m", "8", "--reps", "400", "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  lines = Split(o.out, '\n');
  ASSERT_EQ(lines.size(), 9u) << o.out;
  f = Split(lines[7], ',');
  ASSERT_EQ(f.size(), 12u) << lines[7];
  EXPECT_EQ(f[1], "8");
  EXPECT_GT(std::stoi(f[11]), 0) << lines[7];
  for (int i = 3; i <= 5; ++i) EXPECT_GT(std::strtod(f[i].c_str(), nullptr), 1) << lines[7];
  o = Run({"critical", "--n", "20", "--m", "10", "--reps", "200"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_NE(o.err.find("m = 5: only 20 of 200"), std::string::npos) << o.err;
}

TEST_F(Cli, AnyScaleGivesTheSameValues) {
  // The Ixo and BDS values are free of the series' unit: the first 300 values
  // of the normal example times each scale give the values of scale 1 to the
  // last few bits, and the same other columns.
  std::vector<double> x;
  std::ifstream in(std::string(IXO_EXAMPLES_DIR) + "/normal.txt");
  for (double v; x.size() < 300 && in >> v;) x.push_back(v);
  const std::vector<std::vector<std::string>> commands = {
      {"ixo", "--reps", "0"}, {"bds", "--m", "3", "--eps", "0.5,1.5", "--reps", "0"}};
  for (const std::vector<std::string>& command : commands) {
    std::vector<std::vector<std::string>> expected;
    for (double scale : {1.0, 1e-100, 1e-161, 1e-200, 1e-300, 1e100}) {
      std::string text;
      for (double v : x) {
        char line[40];
        std::snprintf(line, sizeof line, "%.17g\n", v * scale);
        text += line;
      }
      std::ofstream(Path("scaled.txt")) << text;
      std::vector<std::string> args = command;
      args.insert(args.begin() + 1, Path("scaled.txt"));
      args.insert(args.end(), {"--format", "csv"});
      const Outcome o = Run(args);
      ASSERT_EQ(o.status, 0) << command[0] << " scale " << scale << ": " << o.err;
      const std::vector<std::string> lines = Split(o.out, '\n');
      if (expected.empty()) {
        for (const std::string& line : lines) expected.push_back(Split(line, ','));
        continue;
      }
      ASSERT_EQ(lines.size(), expected.size()) << command[0] << " scale " << scale;
      for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        const std::vector<std::string> f = Split(lines[i], ',');
        ASSERT_EQ(f.size(), expected[i].size()) << lines[i];
        for (std::size_t j = 1; j < f.size(); ++j) {
          const std::string what =
              command[0] + " scale " + ::testing::PrintToString(scale) + ": " + lines[i];
          const bool value = command[0] == "ixo" ? j == 3 : j == 4 || j == 5;
          if (!value) {
            EXPECT_EQ(f[j], expected[i][j]) << what;
            continue;
          }
          const double want = std::strtod(expected[i][j].c_str(), nullptr);
          EXPECT_NEAR(std::strtod(f[j].c_str(), nullptr), want, 1e-12 * std::fabs(want)) << what;
        }
      }
    }
  }
}

TEST_F(Cli, NoValueIsEmptyWithItsReasonInEveryFormat) {
  // Three values have no usable grid point, 17 values none from m = 4 up: no
  // value, no verdict but the reason, no p-value, in CSV, JSON and the table.
  std::ofstream(Path("three.txt")) << "1\n2\n3\n";
  const std::string seventeen = WriteSeries("seventeen.txt", 17);
  const std::string reason = "no value: fewer than two usable grid points";
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> lines;  // each found in the output
  };
  const Case cases[] = {
      {{"ixo", Path("three.txt"), "--m", "2", "--format", "csv"},
       {Path("three.txt") + ",3,2,,0,500," + reason + ",,\n"}},
      {{"ixo", seventeen, "--format", "csv"},
       {",17,4,,0,500," + reason + ",,\n", ",17,10,,0,500," + reason + ",,\n"}},
      {{"ixo", Path("three.txt"), "--m", "2", "--format", "json"},
       {"\"m\": 2, \"ixo\": null, \"points\": 0, \"class\": 500, \"verdict\": \"" + reason +
        "\", \"p_value\": null, \"p_adjusted\": null}"}},
      {{"ixo", Path("three.txt"), "--m", "2"},
       {"  3    2  -         0    500  " + reason + "  -        -\n"}},
      {{"ixo", seventeen, "--reps", "9"},
       {"  17    4                   -       0    500  " + reason + "  "}},
  };
  for (const Case& c : cases) {
    const Outcome o = Run(c.args);
    ASSERT_EQ(o.status, 0) << c.args[1] << ": " << o.err;
    for (const std::string& line : c.lines)
      EXPECT_NE(o.out.find(line), std::string::npos) << line << "\nin\n" << o.out;
    // No dimension without a value has a verdict (the overall row has its own).
    for (const std::string& line : Split(o.out, '\n')) {
      if (line.find("all") == std::string::npos) {
        EXPECT_EQ(line.find("reject"), std::string::npos) << line;
      }
    }
  }
}

TEST_F(Cli, TableVerdictOnlyWithinTwentyPercentOfTheClass) {
  // 60 i.i.d. values are held against the table of 500 values, which rejects
  // them at m = 4 and above: the verdict says the table does not hold; at 500
  // values, or with the class chosen, it gives the table's verdict.
  for (const int n : {60, 500, -60}) {
    const std::string series = WriteSeries("iid.txt", std::abs(n));
    std::vector<std::string> args = {"ixo", series, "--reps", "0", "--format", "csv"};
    if (n < 0) args.insert(args.end(), {"--class", "500"});
    const Outcome o = Run(args);
    ASSERT_EQ(o.status, 0) << o.err;
    const std::vector<std::string> lines = Split(o.out, '\n');
    ASSERT_EQ(lines.size(), 12u) << o.out;
    for (std::size_t i = 1; i <= 9; ++i) {
      const std::vector<std::string> f = Split(lines[i], ',');
      ASSERT_EQ(f.size(), 9u) << lines[i];
      if (f[3].empty()) continue;  // no value
      if (n == 60) {
        EXPECT_EQ(f[6], "unknown: n lies more than 20 % from the class") << lines[i];
      } else {
        EXPECT_TRUE(f[6] == "do not reject" || f[6].rfind("reject at ", 0) == 0) << lines[i];
      }
    }
  }
}

TEST_F(Cli, VerdictOnlyForTheTabulatedSettings) {
  const std::string series = WriteSeries("s.txt", 500);
  struct Case {
    std::vector<std::string> extra;
    bool known;
  };
  const Case cases[] = {
      {{"--eps", "0.25:1.00"}, true},
      {{"--eps", "0.25:1.01"}, false},
      {{"--subint", "20"}, false},
      {{"--cm-limit", "10"}, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"ixo", series, "--m", "2", "--reps", "0", "--format", "csv"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const Outcome o = Run(args);
    ASSERT_EQ(o.status, 0) << o.err;
    const std::vector<std::string> f = Split(Split(o.out, '\n')[1], ',');
    ASSERT_EQ(f.size(), 9u) << o.out;
    EXPECT_EQ(f[5], "500");
    EXPECT_EQ(f[6] == "unknown", !c.known) << c.extra[0] << " " << c.extra[1] << ": " << f[6];
    EXPECT_EQ(f[6].rfind("unknown", 0) == 0, !c.known) << c.extra[0] << ": " << f[6];
    EXPECT_EQ(f[7] + f[8], "") << "--reps 0 gives no p-value";
  }
}

TEST_F(Cli, FileNamesAreQuotedInCsvAndEscapedInJson) {
  const std::string series = WriteSeries("a,\"b\".txt", 60);
  std::string quoted = "\"";
  for (char ch : series) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  Outcome o = Run({"ixo", series, "--m", "2", "--reps", "0", "--format", "csv"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("\n" + quoted + "\",60,2,"), std::string::npos) << o.out;
  o = Run({"ixo", series, "--m", "2", "--reps", "0", "--format", "json"});
  std::string escaped;
  for (char ch : series) escaped += ch == '"' ? std::string("\\\"") : std::string(1, ch);
  EXPECT_NE(o.out.find("{\"file\": \"" + escaped + "\", \"n\": 60, \"m\": 2, \"ixo\": "),
            std::string::npos)
      << o.out;
  EXPECT_NE(o.out.find("\"p_value\": null, \"p_adjusted\": null}"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("\"m\": \"all\", \"ixo\": null"), std::string::npos) << o.out;
}

TEST_F(Cli, FailuresGiveOneLineAndTheirStatus) {
  const std::string good = WriteSeries("good.txt", 60);
  std::ofstream(Path("bad.txt")) << "1\n2\n\n3 x4\n";
  std::ofstream(Path("short.txt")) << "1\n2\n3\n";
  std::ofstream(Path("constant.txt")) << "5\n5\n5\n5\n5\n5\n5\n5\n5\n5\n5\n5\n";
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string named;
  };
  const Case cases[] = {
      {{}, 2, "no command"},
      {{"curve"}, 2, "'curve'"},
      {{"ixo"}, 2, "no series file"},
      {{"ixo", good, "--bogus", "1"}, 2, "'--bogus'"},
      {{"ixo", good, "--m", "17"}, 2, "--m: '17'"},
      {{"ixo", good, "--m", "1"}, 2, "--m: '1'"},
      {{"ixo", good, "--eps", "0.6"}, 2, "--eps: '0.6'"},
      {{"ixo", good, "--eps", "0:1"}, 2, "--eps: '0:1'"},
      {{"ixo", good, "--reps", "-1"}, 2, "--reps: '-1'"},
      {{"ixo", good, "--seed", "x"}, 2, "--seed: 'x'"},
      {{"ixo", good, "--sequential", "-1"}, 2, "--sequential: '-1'"},
      {{"bds", good, "--sequential", "x"}, 2, "--sequential: 'x'"},
      {{"critical", "--n", "100", "--sequential", "10"}, 2, "'--sequential'"},
      {{"test", good, "--reps", "0"}, 2, "--reps"},
      {{"test", good, "--bds-eps", "0"}, 2, "--bds-eps: '0'"},
      {{"test", good, "--rows", "m"}, 2, "--rows: 'm'"},
      {{"ixo", good, "--class", "700"}, 2, "--class: '700' is not 500, 1000 or 2500"},
      {{"ixo", good, "--class", "500", "--replications", "0:9", "--format", "part"},
       2,
       "--class: a part file"},
      {{"test", Path("constant.txt")}, 1, "constant.txt': a constant series"},
      {{"ixo", good, "--format", "xml"}, 2, "--format: 'xml'"},
      {{"ixo", good, "--m", "3", "--m", "4"}, 2, "twice"},
      {{"ixo", good, "--reps"}, 2, "needs a value"},
      {{"bds", good, "--eps", "1,,2"}, 2, "--eps: '1,,2'"},
      {{"critical"}, 2, "--n"},
      {{"critical", "--n", "2"}, 2, "--n: '2'"},
      {{"critical", "--n", "100", "--reps", "0"}, 2, "--reps"},
      {{"curves"}, 2, "one series file"},
      {{"curves", good, good}, 2, "one series file"},
      {{"curves", good, "--reps", "9"}, 2, "'--reps'"},
      {{"curves", Path("short.txt")}, 1, "short.txt': m = 10 needs at least 11 values"},
      {{"ixo", good, Path("missing.txt")}, 1, "missing.txt"},
      {{"ixo", good, Path("bad.txt")}, 1, "'x4' on line 4 of '" + Path("bad.txt") + "'"},
      {{"ixo", Path("short.txt")}, 1, "short.txt': m = 10 needs at least 11 values"},
      {{"bds", Path("constant.txt")}, 1, "constant.txt': a constant series"},
      {{"ixo", good, "--reps", "0", "--output", Path("no/such/folder/out.csv")}, 1, "out.csv"},
      {{"ixo", good, "--progress-file", Path("no/such/folder/p.txt")}, 1, "p.txt"},
      {{"ixo", good, "--progress-file"}, 2, "needs a value"},
      {{"curves", good, "--progress-file", "-"}, 2, "'--progress-file'"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    const Outcome o = Run(c.args);
    EXPECT_EQ(o.status, c.status) << shown;
    EXPECT_EQ(o.out, "") << shown;
    ASSERT_FALSE(o.err.empty()) << shown;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << shown << o.err;
    EXPECT_NE(o.err.find(c.named), std::string::npos) << shown << "-> " << o.err;
  }
}

TEST_F(Cli, OutputIsWholeOrNotAtAll) {
  const std::string good = WriteSeries("good.txt", 60);
  std::ofstream(Path("bad.txt")) << "1\nnan\n";
  const std::string out = Path("out.csv");
  std::ofstream(out) << "earlier results\n";
  // Bad data in the second file: nothing is written, not even the first file's rows.
  Outcome o = Run({"ixo", good, Path("bad.txt"), "--m", "2", "--output", out});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(ReadAll(out), "earlier results\n");
  o = Run({"ixo", good, "--m", "2", "--reps", "9", "--format", "csv"});
  const Outcome to_file =
      Run({"ixo", good, "--m", "2", "--reps", "9", "--format", "csv", "--output=" + out});
  EXPECT_EQ(to_file.status, 0) << to_file.err;
  EXPECT_EQ(ReadAll(out), o.out);
  for (const auto& entry : fs::directory_iterator(dir_))
    EXPECT_EQ(entry.path().extension(), entry.path().filename() == "out.csv" ? ".csv" : ".txt")
        << entry.path();
}

TEST_F(Cli, HelpAndProgress) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                               {"ixo", "--help"},
                                               {"bds", "-h"},
                                               {"critical", "--help"},
                                               {"curves", "--help"}}) {
    const Outcome o = Run(args);
    EXPECT_EQ(o.status, 0) << args[0];
    EXPECT_EQ(o.out.rfind("usage: ixo_cli", 0), 0u) << o.out;
    EXPECT_EQ(o.err, "");
  }
  const std::string good = WriteSeries("good.txt", 60);
  const Outcome quiet = Run({"ixo", good, "--m", "2", "--reps", "20"});
  const Outcome shown = Run({"ixo", good, "--m", "2", "--reps", "20"}, true);
  EXPECT_EQ(quiet.err, "");
  EXPECT_NE(shown.err.find("100%"), std::string::npos) << shown.err;
  EXPECT_EQ(shown.out, quiet.out);
}

// The progress lines the window reads: whole lines "progress DONE TOTAL" over
// every file, from 0 to the total, a line per whole percent, and the results
// the same as without them.
TEST_F(Cli, ProgressLinesCountEveryFilesPermutations) {
  const std::string a = WriteSeries("a.txt", 60);
  const std::string b = WriteSeries("b.txt", 80);
  const std::string progress = Path("progress.tmp");
  std::ofstream(progress) << "progress 5 5\n";  // an earlier run's, emptied first
  for (const int reps : {0, 1, 7, 250}) {
    const std::string shown = "reps " + std::to_string(reps);
    const std::vector<std::string> args = {
        "ixo", a, b, "--m", "2", "--reps", std::to_string(reps), "--format", "csv"};
    std::vector<std::string> with_lines = args;
    with_lines.insert(with_lines.end(), {"--threads", "2", "--progress-file", progress});
    const Outcome plain = Run(args);
    const Outcome o = Run(with_lines);
    EXPECT_EQ(o.status, 0) << shown << o.err;
    EXPECT_EQ(o.out, plain.out) << shown;
    EXPECT_EQ(o.err, "") << shown;
    const std::string text = ReadAll(progress);
    const std::string total = std::to_string(2 * reps);
    if (reps == 0) {
      EXPECT_EQ(text, "") << shown;
      continue;
    }
    ASSERT_FALSE(text.empty()) << shown;
    EXPECT_EQ(text.back(), '\n') << shown;
    std::vector<std::string> lines = Split(text, '\n');
    lines.pop_back();
    EXPECT_EQ(lines.front(), "progress 0 " + total) << shown;
    EXPECT_EQ(lines.back(), "progress " + total + " " + total) << shown;
    EXPECT_LE(lines.size(), 102u) << shown;
    long long last_done = -1;
    int last_percent = -1;
    for (const std::string& line : lines) {
      const std::vector<std::string> words = Split(line, ' ');
      ASSERT_EQ(words.size(), 3u) << line;
      EXPECT_EQ(words[0], "progress") << line;
      EXPECT_EQ(words[2], total) << line;
      const long long done = std::stoll(words[1]);
      const int percent = static_cast<int>(done * 100 / (2 * reps));
      EXPECT_GT(done, last_done) << shown << ": " << line;
      EXPECT_TRUE(percent > last_percent || done == 2 * reps) << shown << ": " << line;
      last_done = done;
      last_percent = percent;
    }
  }
  // "-" writes them to standard error, where no progress bar mixes with them.
  const Outcome o = Run({"ixo", a, "--m", "2", "--reps", "3", "--progress-file", "-"}, true);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err.rfind("progress 0 3\n", 0), 0u) << o.err;
  EXPECT_NE(o.err.find("progress 3 3\n"), std::string::npos) << o.err;
  EXPECT_EQ(o.err.find('\r'), std::string::npos) << o.err;
}

TEST(ResultTable, JsonWritesNoNumberThatIsNotFinite) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    Cell cell;
    const char* json;
  } cases[] = {
      {NumberCell(std::numeric_limits<double>::quiet_NaN()), "null"},
      {NumberCell(inf), "null"},
      {NumberCell(-inf), "null"},
      {NumberCell(std::nullopt), "null"},
      {NumberCell(1e-5), "1e-05"},
      {NumberCell(-0.25), "-0.25"},
      {NumberCell(1.7976931348623157e308), "1.7976931348623157e+308"},
      {IntegerCell(7), "7"},
      {TextCell("nan"), "\"nan\""},
      {TextCell("inf"), "\"inf\""},
  };
  for (const auto& c : cases) {
    ResultTable table;
    table.columns = {"v"};
    table.rows = {{c.cell}};
    EXPECT_EQ(Written(table, OutputFormat::kJson), std::string("[\n  {\"v\": ") + c.json + "}\n]\n")
        << c.cell.text;
  }
}

}  // namespace
}  // namespace ixo

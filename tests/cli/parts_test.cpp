// ixo_cli's parts of a replication range and their merge, run in the test
// process: every split merges to the single run's output byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli.h"
#include "cli_folder.h"
#include "random_stream.h"

namespace ixo {
namespace {

namespace fs = std::filesystem;

std::string Joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& w : words) text += w + " ";
  return text;
}

class Parts : public CliFolder {
 protected:
  std::string WriteSeries(const std::string& name, int n, std::uint64_t seed) {
    RandomStream stream(seed, 0);
    std::ofstream out(Path(name), std::ios::binary);
    for (int i = 0; i < n; ++i) {
      char line[40];
      std::snprintf(line, sizeof line, "%.17g\n", stream.Normal());
      out << line;
    }
    return Path(name);
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // Writes the parts of `command` for the ranges between `cuts` (0 .. R) and
  // returns their paths.
  std::vector<std::string> WriteParts(const std::vector<std::string>& command,
                                      const std::vector<int>& cuts, const std::string& prefix) {
    std::vector<std::string> paths;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
      std::vector<std::string> args = command;
      const std::string path = Path(prefix + std::to_string(k) + ".part");
      args.insert(args.end(),
                  {"--replications", std::to_string(cuts[k]) + ":" + std::to_string(cuts[k + 1]),
                   "--format", "part", "--output", path});
      const Outcome o = Run(args);
      EXPECT_EQ(o.status, 0) << Joined(args) << o.err;
      paths.push_back(path);
    }
    return paths;
  }
};

TEST_F(Parts, EverySplitMergesToTheSingleRunInEveryFormat) {
  const std::string a = WriteSeries("a.txt", 120, 1);
  const std::string b = WriteSeries("b.txt", 90, 2);
  const std::vector<std::vector<std::string>> commands = {
      {"ixo", a, b, "--m", "4", "--reps", "21", "--seed", "5"},
      {"ixo", a, "--m", "3", "--eps", "0.25:1.00", "--reps", "21"},
      {"bds", a, b, "--m", "3", "--eps", "0.5,1.25", "--reps", "21"},
      {"critical", "--n", "60", "--m", "3", "--reps", "21", "--seed", "9"},
  };
  const std::vector<std::vector<int>> splits = {
      {0, 21}, {0, 10, 21}, {0, 7, 14, 21}, {0, 3, 6, 9, 12, 15, 18, 21}, {0, 1, 20, 21}};
  int set = 0;
  for (const std::vector<std::string>& command : commands) {
    for (const std::vector<int>& cuts : splits) {
      const std::vector<std::string> parts =
          WriteParts(command, cuts, "set" + std::to_string(set++) + "-");
      for (const char* format : {"table", "csv", "json"}) {
        std::vector<std::string> single = command;
        single.insert(single.end(), {"--format", format});
        std::vector<std::string> merge = {"merge"};
        // The parts in reverse order: the merge sorts them by range.
        merge.insert(merge.end(), parts.rbegin(), parts.rend());
        merge.insert(merge.end(), {"--format", format});
        const Outcome expected = Run(single);
        const Outcome merged = Run(merge);
        ASSERT_EQ(expected.status, 0) << Joined(single) << expected.err;
        if (command[0] != "critical") {
          // The adjusted p-values and each file's overall row come from
          // every replication's statistics, not from sums over the parts.
          EXPECT_NE(expected.out.find("p_adjusted"), std::string::npos) << Joined(single);
          EXPECT_NE(expected.out.find("all"), std::string::npos) << Joined(single);
        }
        EXPECT_EQ(merged.status, 0) << Joined(merge) << merged.err;
        EXPECT_EQ(merged.err, "");
        EXPECT_EQ(merged.out, expected.out)
            << Joined(single) << "in " << cuts.size() - 1 << " parts";
      }
    }
  }
  // A part of the whole range without --replications is a plain run's table.
  const Outcome whole = Run(
      {"ixo", a, "--m", "3", "--reps", "9", "--format", "part", "--output", Path("whole.part")});
  ASSERT_EQ(whole.status, 0) << whole.err;
  EXPECT_EQ(Run({"merge", Path("whole.part"), "--format", "csv"}).out,
            Run({"ixo", a, "--m", "3", "--reps", "9", "--format", "csv"}).out);
  EXPECT_EQ(Run({"merge", Path("whole.part"), "--output", Path("merged.txt")}).status, 0);
  EXPECT_EQ(Read(Path("merged.txt")), Run({"ixo", a, "--m", "3", "--reps", "9"}).out);
  // Without permutations, a part holds the observed values alone.
  for (const char* command : {"ixo", "bds"}) {
    const std::vector<std::string> none = {command, a, "--m", "3", "--reps", "0"};
    std::vector<std::string> args = none;
    args.insert(args.end(), {"--format", "part", "--output", Path("none.part")});
    ASSERT_EQ(Run(args).status, 0) << command;
    EXPECT_EQ(Run({"merge", Path("none.part")}).out, Run(none).out) << command;
  }
}

TEST_F(Parts, APartIsTheSameOnAnyNumberOfThreadsAndWrittenToStandardOutput) {
  const std::string a = WriteSeries("a.txt", 100, 3);
  for (const char* command : {"ixo", "bds"}) {
    const std::vector<std::string> args = {
        command, a, "--m", "3", "--reps", "30", "--replications", "4:19", "--format", "part"};
    std::vector<std::string> one = args;
    one.insert(one.end(), {"--threads", "1"});
    std::vector<std::string> two = args;
    two.insert(two.end(), {"--threads", "2"});
    const Outcome x = Run(one);
    EXPECT_EQ(x.status, 0) << x.err;
    EXPECT_EQ(x.out.rfind("ixo part 1\nprogram ixo_cli ", 0), 0u) << x.out;
    EXPECT_NE(x.out.find("\nrange 4 19\n"), std::string::npos) << x.out;
    EXPECT_NE(x.out.find(" " + a + "\n"), std::string::npos) << x.out;
    EXPECT_EQ(x.out, Run(two).out) << command;
  }
}

TEST_F(Parts, TheMergeRefusesWithOneLineNamingTheParts) {
  const std::string a = WriteSeries("a.txt", 80, 4);
  const std::string b = WriteSeries("b.txt", 80, 5);
  const std::vector<std::string> ixo = {"ixo", a, "--m", "3", "--reps", "20"};
  const auto part = [&](std::vector<std::string> args, const std::string& range,
                        const std::string& name) {
    args.insert(args.end(), {"--replications", range, "--format", "part", "--output", Path(name)});
    const Outcome o = Run(args);
    EXPECT_EQ(o.status, 0) << Joined(args) << o.err;
    return Path(name);
  };
  const std::string first = part(ixo, "0:8", "first.part");
  const std::string rest = part(ixo, "8:20", "rest.part");
  const std::string middle = part(ixo, "5:12", "middle.part");
  const std::string tail = part(ixo, "12:20", "tail.part");
  const std::string seed =
      part({"ixo", a, "--m", "3", "--reps", "20", "--seed", "1"}, "8:20", "seed.part");
  const std::string m4 = part({"ixo", a, "--m", "4", "--reps", "20"}, "8:20", "m4.part");
  const std::string reps = part({"ixo", a, "--m", "3", "--reps", "21"}, "8:21", "reps.part");
  const std::string other = part({"ixo", b, "--m", "3", "--reps", "20"}, "8:20", "other.part");
  const std::string bds = part({"bds", a, "--m", "3", "--reps", "20"}, "8:20", "bds.part");
  std::string text = Read(rest);
  std::ofstream(Path("cut.part"), std::ios::binary) << text.substr(0, text.size() / 2);
  text[text.find("tails")] = 'T';
  std::ofstream(Path("altered.part"), std::ios::binary) << text;
  std::ofstream(Path("table.part")) << Run(ixo).out;

  struct Case {
    std::vector<std::string> parts;
    int status;
    std::string error;
  };
  const Case cases[] = {
      {{}, 2, "ixo_cli merge: no part file given"},
      {{first, Path("missing.part")}, 1, "missing.part"},
      {{first, Path("cut.part")}, 1, "'" + Path("cut.part") + "': truncated: no end line"},
      {{Path("altered.part"), first}, 1, "'" + Path("altered.part") + "': corrupted"},
      {{first, Path("table.part")}, 1, "'" + Path("table.part") + "': not a part file"},
      {{first, seed}, 1, "'" + first + "' and '" + seed + "' have different seeds (20040105, 1)"},
      {{first, m4}, 1, "'" + first + "' and '" + m4 + "' differ in their settings (m 3; m 4)"},
      {{first, reps}, 1, "different lengths (20 and 21 replications)"},
      {{first, other}, 1, "'" + first + "' and '" + other + "' are of different series ('" + a},
      {{first, bds}, 1, "are parts of different commands (ixo, bds)"},
      {{first, middle, tail},
       1,
       "'" + first + "' (replications 0..7) and '" + middle + "' (replications 5..11) overlap"},
      {{first, rest, rest}, 1, "overlap"},
      {{first, tail},
       1,
       "replications 8..11 (between '" + first + "' and '" + tail + "') of 0..19 missing"},
      {{rest}, 1, "replications 0..7 (before '" + rest + "') of 0..19 missing"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"merge"};
    args.insert(args.end(), c.parts.begin(), c.parts.end());
    const Outcome o = Run(args);
    EXPECT_EQ(o.status, c.status) << Joined(args);
    EXPECT_EQ(o.out, "") << Joined(args);
    ASSERT_FALSE(o.err.empty()) << Joined(args);
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
    EXPECT_NE(o.err.find(c.error), std::string::npos) << Joined(args) << "-> " << o.err;
  }
}

TEST_F(Parts, RangesAndTheirFormatAreChecked) {
  const std::string a = WriteSeries("a.txt", 80, 6);
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const Case cases[] = {
      {{"ixo", a, "--replications", "0:10"}, "--replications needs --format part"},
      {{"ixo", a, "--reps", "20", "--replications", "0:21", "--format", "part"},
       "--replications: '0:21' is not a range A:B with 0 <= A < B <= 20"},
      {{"ixo", a, "--reps", "20", "--replications", "5:5", "--format", "part"}, "'5:5'"},
      {{"ixo", a, "--reps", "20", "--replications", "6:5", "--format", "part"}, "'6:5'"},
      {{"ixo", a, "--reps", "20", "--replications", "-1:5", "--format", "part"}, "'-1:5'"},
      {{"ixo", a, "--reps", "20", "--replications", "5", "--format", "part"}, "'5'"},
      {{"bds", a, "--reps", "0", "--replications", "0:1", "--format", "part"}, "'0:1'"},
      {{"critical", "--n", "50", "--reps", "9", "--replications", "0:10", "--format", "part"},
       "'0:10'"},
      {{"curves", a, "--format", "part"}, "--format: 'part'"},
      {{"merge", a, "--format", "part"}, "--format: 'part'"},
      {{"merge", a, "--reps", "9"}, "'--reps'"},
      {{"ixo", a, "--reps", "20", "--sequential", "3", "--replications", "0:10", "--format",
        "part"},
       "--sequential cannot go with --replications or --format part"},
      {{"ixo", a, "--reps", "20", "--sequential", "3", "--format", "part"},
       "--sequential cannot go with --replications or --format part"},
      {{"bds", a, "--reps", "20", "--sequential", "2", "--replications", "4:20", "--format",
        "part"},
       "--sequential cannot go with --replications or --format part"},
      {{"bds", a, "--reps", "20", "--format", "part", "--sequential", "1"},
       "--sequential cannot go with --replications or --format part"},
  };
  for (const Case& c : cases) {
    const Outcome o = Run(c.args);
    EXPECT_EQ(o.status, 2) << Joined(c.args) << o.err;
    EXPECT_EQ(o.out, "");
    EXPECT_NE(o.err.find(c.error), std::string::npos) << Joined(c.args) << "-> " << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err;
  }
}

}  // namespace
}  // namespace ixo

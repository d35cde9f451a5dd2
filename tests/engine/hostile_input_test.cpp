// The built ixo_engine against hostile input: series files with stray bytes,
// huge tokens, folders in their place, a result file that cannot be written
// (a file size limit, with SIGXFSZ ignored or at its default) and a kernel
// that needs more memory than the process may have. Each run goes through a
// shell in a scratch folder, so that limits can be set just before the exec.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef IXO_ENGINE_PATH
#error "IXO_ENGINE_PATH must name the built ixo_engine"
#endif

namespace {

namespace fs = std::filesystem;

constexpr const char* kOldResult = "previous result\n";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

size_t LineCount(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class EngineHostileInput : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "ixo_engine_hostile_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(Work());
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  fs::path Work() const { return root_ / "work"; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Work() / name, std::ios::binary) << bytes;
  }
  // The names in the work folder, sorted, so a left-over temporary file shows.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Work())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // Runs `prepare` (shell lines), then the engine with `args`, in the work
  // folder, under a time limit so that a hang fails rather than stalls.
  Outcome Run(const std::vector<std::string>& args, const std::string& prepare = "") const {
    std::string script = "cd '" + Work().string() + "' || exit 99\n" + prepare +
                         "\nexec timeout 300 '" IXO_ENGINE_PATH "'";
    for (const std::string& a : args) script += " '" + a + "'";
    script += " >'" + (root_ / "stdout").string() + "' 2>'" + (root_ / "stderr").string() + "'";
    std::ofstream(root_ / "run.sh") << script << "\n";
    const int raw = std::system(("sh '" + (root_ / "run.sh").string() + "'").c_str());
    Outcome o;
    o.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + raw;
    o.out = ReadAll(root_ / "stdout");
    o.err = ReadAll(root_ / "stderr");
    return o;
  }

  // As Run, but with standard output going to /dev/null and standard error
  // through a pipe, so that a file size limit set by `prepare` touches only the
  // files the engine itself writes.
  Outcome RunWithLimit(const std::vector<std::string>& args, const std::string& prepare) const {
    std::string engine = "exec timeout 300 '" IXO_ENGINE_PATH "'";
    for (const std::string& a : args) engine += " '" + a + "'";
    const std::string script = "cd '" + Work().string() + "' || exit 99\n( ( " + prepare + "\n" +
                               engine + " ) 2>&1 >/dev/null; echo $? >'" +
                               (root_ / "status").string() + "' ) | cat >'" +
                               (root_ / "stderr").string() + "'\n";
    std::ofstream(root_ / "run.sh") << script;
    std::system(("sh '" + (root_ / "run.sh").string() + "'").c_str());
    Outcome o;
    o.status = std::atoi(ReadAll(root_ / "status").c_str());
    o.err = ReadAll(root_ / "stderr");
    return o;
  }

  fs::path root_;
};

// A small series with a spread, one value per CRLF line.
std::string Series(int n) {
  std::string text;
  unsigned long long state = 99;
  for (int i = 0; i < n; ++i) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    text += std::to_string(static_cast<double>(state >> 11) / 9007199254740992.0) + "\r\n";
  }
  return text;
}

TEST_F(EngineHostileInput, SeriesFilesOfStrayBytesAreRefusedOnOneLine) {
  struct Case {
    std::string name;
    std::string bytes;
    std::string named;  // part of the one line on standard error
  };
  const std::string series = Series(40);
  const Case cases[] = {
      {"a NUL inside a value", "1\n2" + std::string(1, '\0') + "5\n3\n", "on line 2"},
      {"a Ctrl-Z after the values", series + "\x1A", "on line 41"},
      {"a Ctrl-Z alone", "\x1A", "on line 1"},
      {"only line ends", std::string(5000, '\n'), "holds 0 value(s)"},
      {"only NUL bytes", std::string(5000, '\0'), "on line 1"},
      {"a decimal comma", "1\n2,5\n3\n", "'2,5' on line 2"},
      {"thousands separators", "1\n1,234.5\n3\n", "'1,234.5' on line 2"},
      {"an 8 MB token", "1\n2\n" + std::string(8 << 20, '9') + "\n", "beyond the range"},
      {"an 8 MB word", "1\n" + std::string(8 << 20, 'x') + "\n", "is not a number"},
  };
  for (const Case& c : cases) {
    Write("series.txt", c.bytes);
    Write("output.tmp", kOldResult);
    const Outcome o = Run({"series.txt", "2", "0.60", "1.90", "40", "50", "1"});
    EXPECT_EQ(o.status, 1) << c.name;
    EXPECT_EQ(o.out, "") << c.name;
    EXPECT_EQ(LineCount(o.err), 1u) << c.name << ": " << o.err.substr(0, 300);
    EXPECT_LT(o.err.size(), 300u) << c.name;
    EXPECT_NE(o.err.find(c.named), std::string::npos) << c.name << ": " << o.err.substr(0, 300);
    EXPECT_EQ(ReadAll(Work() / "output.tmp"), kOldResult) << c.name;
  }
}

TEST_F(EngineHostileInput, CrLfTabsAndFormFeedsAreWhiteSpace) {
  Write("series.txt", "0.5\r\n\t-1.25\r\n\f3\v\r\n 2e-1 \r\n\r\n1\r\n");
  const Outcome o = Run({"series.txt", "2", "0.60", "1.90", "40", "0", "1"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find(" nob       = 5\n"), std::string::npos) << o.out;
  EXPECT_TRUE(fs::exists(Work() / "output.tmp"));
}

TEST_F(EngineHostileInput, FolderInPlaceOfTheSeriesFileIsRefused) {
  fs::create_directory(Work() / "series.txt");
  const Outcome o = Run({"series.txt", "2", "0.60", "1.90", "40", "50", "1"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(LineCount(o.err), 1u) << o.err;
  EXPECT_NE(o.err.find("'series.txt'"), std::string::npos) << o.err;
  EXPECT_FALSE(fs::exists(Work() / "output.tmp"));
}

TEST_F(EngineHostileInput, ResultBeyondTheFileSizeLimitIsReportedAndLeavesNoFile) {
  // With the signal ignored the write fails with EFBIG; at its default the
  // engine ignores it itself, so both say why and leave no temporary file.
  for (const std::string prepare : {"trap '' XFSZ; ulimit -f 0", "ulimit -f 0"}) {
    fs::remove_all(Work());
    fs::create_directories(Work());
    Write("series.txt", Series(200));
    for (const char* mode : {"1", "2"}) {
      const Outcome o =
          RunWithLimit({"series.txt", "2", "0.60", "1.90", "40", "50", mode}, prepare);
      EXPECT_EQ(o.status, 1) << prepare << ", mode " << mode << ": " << o.err;
      EXPECT_EQ(LineCount(o.err), 1u) << prepare << ": " << o.err;
      EXPECT_EQ(o.err.rfind("ixo_engine: cannot write 'output.tmp': ", 0), 0u) << o.err;
      EXPECT_EQ(Names(), std::vector<std::string>{"series.txt"}) << prepare << ", mode " << mode;
    }
  }
}

#ifndef IXO_UNDER_SANITIZER
// A sanitizer reserves far more address space than any limit here would allow.
TEST_F(EngineHostileInput, BdsOfASeriesBeyondTheKernelsMemoryRuns) {
  // 60000 values would need about 240 MB of the kernel's bit rows; the
  // process may have 150 MB. Write mode 2 counts its one distance in O(n).
  Write("big.txt", Series(60000));
  Write("output.tmp", kOldResult);
  const Outcome o = Run({"big.txt", "2", "0.50", "1", "1", "1", "2"}, "ulimit -v 150000");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.err, "");
  EXPECT_NE(o.out.find(" BDS   = "), std::string::npos) << o.out;
  EXPECT_NE(ReadAll(Work() / "output.tmp"), kOldResult);
}
#endif

}  // namespace

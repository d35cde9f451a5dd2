// The data import against large and hostile files: ten million lines, one line
// of 200 MB, files of nothing but Ctrl-Z, CR, LF or NUL bytes, things that are
// not files at all (a FIFO, a device, a folder), a file named like the
// import's own scratch file, and a check that the user's file is never written.
// The big files are generated on the fly in a scratch folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "analysis/data_import.h"
#include "analysis/observation_list.h"
#include "platform/platform_run_host.h"

namespace ixo {
namespace {

namespace fs = std::filesystem;

const std::string kNoValue = "Invalid floating point operation";

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class HostileImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "ixo_hostile_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    fs::create_directories(root_ / "program");
    fs::create_directories(root_ / "data");
    program_ = (root_ / "program").string() + "/";
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string DataPath(const std::string& name) const { return (root_ / "data" / name).string(); }
  std::string DataFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(DataPath(name), std::ios::binary) << bytes;
    return DataPath(name);
  }
  std::string InputTmp() const { return program_ + "input.tmp"; }
  static size_t LineCount(const std::string& path) {
    const std::string text = Contents(path);
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  }
  ImportResult Import(const std::string& path) {
    PlatformRunHost files(program_);
    return ImportDataFile(path, program_, '.', list_, files);
  }

  fs::path root_;
  std::string program_;
  VectorObservationList list_;
};

// Writes `count` copies of `line` to `path` in blocks, never holding the file.
void WriteRepeated(const std::string& path, const std::string& line, long long count,
                   std::ios::openmode mode = std::ios::trunc) {
  std::ofstream out(path, std::ios::binary | mode);
  std::string block;
  const long long per_block =
      std::max<long long>(1, (1 << 20) / static_cast<long long>(line.size()));
  for (long long i = 0; i < per_block; ++i) block += line;
  long long left = count;
  for (; left >= per_block; left -= per_block)
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  for (; left > 0; --left) out << line;
}

TEST_F(HostileImportTest, TenMillionLinesStopAtTheCap) {
  // 10000 values, then ten million lines the import must neither read nor count.
  const std::string path = DataPath("huge.txt");
  WriteRepeated(path, "2.5\n", 5000);
  WriteRepeated(path, "-1\r\n", 5000, std::ios::app);
  WriteRepeated(path, "x\n", 10'000'000, std::ios::app);
  const ImportResult r = Import(path);
  EXPECT_FALSE(r.error) << *r.error;
  EXPECT_EQ(r.count, 10000);
  EXPECT_EQ(r.skipped, 0);
  EXPECT_EQ(list_.Count(), 10000);
  EXPECT_EQ(list_.items().back(), "-1");
  EXPECT_EQ(LineCount(InputTmp()), 10000u);
  EXPECT_EQ(r.mean_text, "0.750");

  // Ten million lines of values: the first 10000 of them.
  WriteRepeated(path, "7\n", 10'000'000);
  const ImportResult all = Import(path);
  EXPECT_EQ(all.count, 10000);
  EXPECT_EQ(all.skipped, 0);
}

// Imports a file with one line of 200 MB between two values in a child process
// whose address space is capped (without a sanitizer, which reserves far more),
// so that holding many copies of the line fails the test instead of the machine.
TEST_F(HostileImportTest, LineOf200MegabytesIsOneSkippedLine) {
  const std::string path = DataPath("wide.txt");
  { std::ofstream(path, std::ios::binary) << "1.5\n"; }
  constexpr long long kLineBytes = 200LL << 20;
  WriteRepeated(path, "0123456789", kLineBytes / 10, std::ios::app);
  { std::ofstream(path, std::ios::binary | std::ios::app) << "x\r\n-2.5\n"; }
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
#if !defined(__SANITIZE_ADDRESS__) && !defined(IXO_UNDER_SANITIZER)
    // What the process holds now, plus four times the line.
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    statm >> pages;
    const rlim_t limit = static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + 4 * kLineBytes);
    const rlimit cap{limit, limit};
    if (::setrlimit(RLIMIT_AS, &cap) != 0) ::_exit(10);
#endif
    try {
      VectorObservationList list;
      PlatformRunHost files(program_);
      const ImportResult r = ImportDataFile(path, program_, '.', list, files);
      const bool right = !r.error && r.count == 2 && r.skipped == 1 &&
                         list.items() == std::vector<std::string>{" 1.5", "-2.5"};
      ::_exit(right ? 0 : 1);
    } catch (const std::bad_alloc&) {
      ::_exit(2);
    }
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: wrong result, 2: out of memory, 10: no limit";
  EXPECT_EQ(Contents(InputTmp()), "1.5\r\n-2.5\r\n");
}

TEST_F(HostileImportTest, FilesOfOneControlByteGiveAClearResult) {
  struct Case {
    std::string name;
    std::string bytes;
    std::int64_t skipped;
  };
  const Case cases[] = {
      {"only Ctrl-Z", std::string(1000, '\x1A'), 1},
      {"only CR", std::string(1000, '\r'), 1},
      {"only NUL", std::string(1000, '\0'), 1},
      {"only tabs", std::string(1000, '\t'), 1},
      {"only LF", std::string(1000, '\n'), 1000},
      {"only CR LF", std::string(500, '\r') + std::string(500, '\n'), 500},
      {"empty", "", 1},
  };
  for (const Case& c : cases) {
    list_.Append("earlier");
    const ImportResult r = Import(DataFile("bytes.txt", c.bytes));
    EXPECT_EQ(r.count, 0) << c.name;
    EXPECT_EQ(r.skipped, c.skipped) << c.name;
    EXPECT_EQ(r.count_text, "0") << c.name;
    EXPECT_EQ(r.error, kNoValue) << c.name;
    EXPECT_FALSE(r.mean_text) << c.name;
    EXPECT_TRUE(list_.items().empty()) << c.name;
    EXPECT_TRUE(fs::exists(InputTmp())) << c.name;
    EXPECT_EQ(Contents(InputTmp()), "") << c.name;
  }
}

// Runs the import on another thread and gives up waiting after a minute, so a
// hang fails the test instead of stalling the suite; `unblock` then frees it.
ImportResult ImportWithin(const std::string& path, const std::string& program,
                          const std::function<void()>& unblock, bool& finished) {
  auto result = std::async(std::launch::async, [path, program] {
    VectorObservationList list;
    PlatformRunHost files(program);
    return ImportDataFile(path, program, '.', list, files);
  });
  finished = result.wait_for(std::chrono::minutes(1)) == std::future_status::ready;
  if (!finished) unblock();
  return result.get();
}

TEST_F(HostileImportTest, ThingsThatAreNotFilesAreRefusedWithoutHanging) {
  const std::string fifo = DataPath("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  fs::create_directory(DataPath("folder"));
  struct Case {
    std::string name;
    std::string path;
  };
  const Case cases[] = {
      {"a FIFO without a writer", fifo},
      {"an endless device", "/dev/zero"},
      {"a folder", DataPath("folder")},
  };
  DataFile("good.txt", "1\n2\n3\n");
  ASSERT_FALSE(Import(DataPath("good.txt")).error);
  for (const Case& c : cases) {
    bool finished = false;
    const ImportResult r = ImportWithin(
        c.path, program_,
        [&] {
          // A writer that closes at once lets a blocked open of the FIFO return.
          const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
          if (fd >= 0) ::close(fd);
        },
        finished);
    EXPECT_TRUE(finished) << c.name << " hung the import";
    ASSERT_TRUE(r.error) << c.name;
    EXPECT_EQ(r.error->rfind("Could not copy \"" + c.path + "\"", 0), 0u) << *r.error;
    EXPECT_FALSE(r.count_text) << c.name;
    // The earlier import stays as it was.
    EXPECT_EQ(Contents(InputTmp()), "1\r\n2\r\n3\r\n") << c.name;
  }
}

TEST_F(HostileImportTest, FileNamedLikeTheScratchFileIsKept) {
  // The import copies to input.tmp.new beside input.tmp; a user's file of that
  // name in the program folder is refused as a copy onto itself, and kept.
  const std::string users = program_ + "input.tmp.new";
  std::ofstream(users, std::ios::binary) << "4\n5\n6\n";
  const ImportResult r = Import(users);
  EXPECT_TRUE(r.error);
  ASSERT_TRUE(fs::exists(users));
  EXPECT_EQ(Contents(users), "4\n5\n6\n");
}

struct FileState {
  std::string bytes;
  struct stat info {};
};

FileState StateOf(const std::string& path) {
  FileState s;
  s.bytes = Contents(path);
  EXPECT_EQ(::stat(path.c_str(), &s.info), 0) << path;
  return s;
}

void ExpectUnchanged(const FileState& before, const FileState& after, const std::string& name) {
  EXPECT_EQ(after.bytes, before.bytes) << name;
  EXPECT_EQ(after.info.st_ino, before.info.st_ino) << name;
  EXPECT_EQ(after.info.st_mode, before.info.st_mode) << name;
  EXPECT_EQ(after.info.st_mtim.tv_sec, before.info.st_mtim.tv_sec) << name;
  EXPECT_EQ(after.info.st_mtim.tv_nsec, before.info.st_mtim.tv_nsec) << name;
  // A change of owner, mode or links, or any write, would move the change time.
  EXPECT_EQ(after.info.st_ctim.tv_sec, before.info.st_ctim.tv_sec) << name;
  EXPECT_EQ(after.info.st_ctim.tv_nsec, before.info.st_ctim.tv_nsec) << name;
}

TEST_F(HostileImportTest, UsersFileIsNeverWritten) {
  struct Case {
    std::string name;
    std::string bytes;
    mode_t mode;
  };
  const Case cases[] = {
      {"a good series", "value\r\n1,5\r\n2.5\r\n-3\r\n", 0644},
      {"a read-only series", "1\n2\n3\n", 0444},
      {"no value", "a\nb\n", 0644},
      {"equal values", "2\n2\n2\n", 0600},
      {"beyond the double range", "1\n1e400\n", 0644},
      {"Ctrl-Z and CR", "1\r\n2\x1A tail\r\n3\r\n\x1A rest", 0644},
  };
  for (const Case& c : cases) {
    const std::string path = DataFile(c.name + ".txt", c.bytes);
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    // Time stamps of the file system are coarse; let any time pass show.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const FileState before = StateOf(path);
    Import(path);
    Import(path);  // a second import replaces the copy the first one made
    ExpectUnchanged(before, StateOf(path), c.name);
  }
}

}  // namespace
}  // namespace ixo

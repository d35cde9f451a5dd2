#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "temp_dir.h"

namespace ixo {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 0777;
}

TEST(CopyFileReplacing, ReadOnlySourceGivesOwnerWritableCopy) {
  TempDir dir;
  const std::string source = dir.Write("data.txt", "1.5\n2.5\n", 0444);
  const std::string target = dir.path() + "input.tmp";
  ASSERT_EQ(CopyFileReplacing(source, target), std::nullopt);
  EXPECT_EQ(ReadWholeFile(target), "1.5\n2.5\n");
  EXPECT_TRUE(ModeOf(target) & S_IWUSR);
  EXPECT_EQ(ModeOf(source), 0444u) << "the source must stay as it was";
}

TEST(CopyFileReplacing, ReplacesLongerTargetAndCopiesLargeFilesWhole) {
  TempDir dir;
  std::string content;
  for (int i = 0; content.size() < 300000; ++i) content += std::to_string(i * 0.25) + "\r\n";
  content += std::string("\0\x1a tail", 7);
  const std::string source = dir.Write("big.txt", content);
  const std::string target = dir.Write("input.tmp", std::string(500000, 'x'), 0444);
  ASSERT_EQ(CopyFileReplacing(source, target), std::nullopt);
  EXPECT_EQ(ReadWholeFile(target), content);
  EXPECT_TRUE(ModeOf(target) & S_IWUSR);
  // No temporary file is left beside the target.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            2);
}

TEST(CopyFileReplacing, FailuresNameTheReasonAndKeepTheTarget) {
  TempDir dir;
  const std::string source = dir.Write("data.txt", "7\n");
  const std::string target = dir.Write("input.tmp", "old\n");
  ::mkdir((dir.path() + "folder").c_str(), 0755);
  struct Case {
    std::string source, target, reason;
  } cases[] = {
      {dir.path() + "missing.txt", target, "No such file or directory"},
      {dir.path() + "folder", target, "Is a directory"},
      {source, dir.path() + "data.txt/input.tmp", "Not a directory"},
      {source, dir.path() + "folder", "Is a directory"},
      {source, source, "Source and target are the same file"},
  };
  for (const Case& c : cases) {
    const FileError error = CopyFileReplacing(c.source, c.target);
    ASSERT_TRUE(error.has_value()) << c.source << " -> " << c.target;
    EXPECT_EQ(*error, c.reason) << c.source << " -> " << c.target;
  }
  EXPECT_EQ(ReadWholeFile(target), "old\n");
  EXPECT_EQ(ReadWholeFile(source), "7\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            3);
}

TEST(DeleteFileIfExists, MissingFileIsNoErrorButAFolderIs) {
  TempDir dir;
  const std::string file = dir.Write("output.tmp", "1.000\n");
  ::mkdir((dir.path() + "folder").c_str(), 0755);
  EXPECT_EQ(DeleteFileIfExists(file), std::nullopt);
  EXPECT_FALSE(FileExists(file));
  EXPECT_EQ(DeleteFileIfExists(file), std::nullopt) << "second delete";
  const std::string plain = dir.Write("plain", "");
  EXPECT_EQ(DeleteFileIfExists(plain + "/output.tmp"), std::nullopt) << "path through a file";
  EXPECT_TRUE(DeleteFileIfExists(dir.path() + "folder").has_value());
}

TEST(FileExists, OnlyForRegularFiles) {
  TempDir dir;
  const std::string file = dir.Write("input.tmp", "");
  ::mkdir((dir.path() + "folder").c_str(), 0755);
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir.path() + "folder"));
  EXPECT_FALSE(FileExists(dir.path() + "missing"));
  EXPECT_FALSE(FileExists(file + "/x"));
}

TEST(ProgramDirectory, IsTheFolderOfThisProgramWhereverWeAre) {
  const std::string before = ProgramDirectory();
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(before.front(), '/');
  EXPECT_EQ(before.back(), '/');
  const std::filesystem::path own = before + program_invocation_short_name;
  EXPECT_TRUE(std::filesystem::equivalent(own, "/proc/self/exe")) << own;

  const std::string cwd = CurrentDirectory();
  TempDir dir;
  ASSERT_EQ(ChangeDirectory(dir.path()), std::nullopt);
  EXPECT_EQ(ProgramDirectory(), before);
  EXPECT_EQ(CurrentDirectory(), std::filesystem::canonical(dir.path()).string() + "/");
  ASSERT_EQ(ChangeDirectory(cwd), std::nullopt);
  EXPECT_EQ(CurrentDirectory(), cwd);
}

TEST(ChangeDirectory, FailureKeepsTheCurrentDirectory) {
  TempDir dir;
  const std::string file = dir.Write("file", "");
  const std::string cwd = CurrentDirectory();
  for (const std::string& path : {dir.path() + "missing", file, file + "/sub"}) {
    EXPECT_TRUE(ChangeDirectory(path).has_value()) << path;
    EXPECT_EQ(CurrentDirectory(), cwd) << path;
  }
}

}  // namespace
}  // namespace ixo

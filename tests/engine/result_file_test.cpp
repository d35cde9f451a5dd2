#include "result_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace ixo {
namespace {

namespace fs = std::filesystem;

class ResultFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::path(::testing::TempDir()) /
           ("result_file_test_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  size_t Entries() { return std::distance(fs::directory_iterator(dir_), fs::directory_iterator()); }
  fs::path dir_;
};

TEST_F(ResultFileTest, WritesThreeDecimalsAndALineBreak) {
  const fs::path out = dir_ / "output.tmp";
  EXPECT_EQ(WriteResultFile(out.string(), 6.1584028), "");
  EXPECT_EQ(Read(out), "6.158\n");
  EXPECT_EQ(Entries(), 1u);  // no temporary file left
}

TEST_F(ResultFileTest, ReplacesAnOlderFile) {
  const fs::path out = dir_ / "output.tmp";
  std::ofstream(out) << "old contents that are longer\n";
  EXPECT_EQ(WriteResultFile(out.string(), 0.0), "");
  EXPECT_EQ(Read(out), "0.000\n");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(ResultFileTest, FailureLeavesNoTemporaryFile) {
  // A directory in the way of the rename: the write fails and the directory stays.
  const fs::path out = dir_ / "output.tmp";
  fs::create_directory(out);
  const std::string error = WriteResultFile(out.string(), 1.0);
  EXPECT_NE(error.find(out.string()), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(out));
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(ResultFileTest, MissingDirectoryIsAnError) {
  const fs::path out = dir_ / "missing" / "output.tmp";
  EXPECT_NE(WriteResultFile(out.string(), 1.0), "");
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace ixo

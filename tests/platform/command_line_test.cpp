#include "platform/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "temp_dir.h"

namespace ixo {
namespace {

using testing::TempDir;

TEST(FindProgram, BesideTheProgramFirstThenAlongThePath) {
  TempDir program_dir, first, second;
  program_dir.Script("ixo_engine", "exit 0");
  first.Script("ixo_engine", "exit 0");
  first.Write("tool", "not executable", 0644);
  second.Script("tool", "exit 0");
  second.Write("broken", "", 0644);
  ::mkdir((first.path() + "dir").c_str(), 0755);
  second.Script("dir", "exit 0");
  const std::string path = first.path() + "::" + second.path();

  const struct {
    std::string name, expected;
  } cases[] = {
      {"ixo_engine", program_dir.path() + "ixo_engine"},
      {"tool", second.path() + "/tool"},          // the unexecutable one on the path is passed over
      {"dir", second.path() + "/dir"},            // and so is a folder
      {"broken", program_dir.path() + "broken"},  // nothing executable: named beside the program
      {"missing", program_dir.path() + "missing"},
      {"./ixo_engine", "./ixo_engine"},
      {"/usr/bin/env", "/usr/bin/env"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindProgram(c.name, program_dir.path(), path), c.expected) << c.name;
  }
}

TEST(FindProgram, WithoutProgramDirectoryOnlyThePathCounts) {
  // The current directory must not stand in for a missing program directory.
  TempDir elsewhere;
  const std::string cwd = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.path());
  elsewhere.Script("opener", "exit 0");
  const std::string found_nowhere = FindProgram("opener", "", "/nonexistent");
  std::filesystem::current_path(cwd);
  EXPECT_EQ(found_nowhere, "opener");
  EXPECT_EQ(FindProgram("opener", "", elsewhere.path()), elsewhere.path() + "/opener");
}

TEST(FindProgram, AnythingBesideTheProgramIsTakenEvenIfBroken) {
  // A broken engine in the program's own folder must be reported, not silently
  // replaced by another one found along the path.
  TempDir program_dir, elsewhere;
  program_dir.Write("ixo_engine", "", 0644);
  elsewhere.Script("ixo_engine", "exit 0");
  EXPECT_EQ(FindProgram("ixo_engine", program_dir.path(), elsewhere.path()),
            program_dir.path() + "ixo_engine");
}

}  // namespace
}  // namespace ixo

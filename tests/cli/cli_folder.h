// What the ixo_cli tests share: a fresh folder per test (named by the process
// and the test, so that two runs of the suite keep apart) and ixo_cli run in
// the test process with its streams captured.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli.h"

namespace ixo {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class CliFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("ixo_cli_" + std::to_string(::getpid()) + "_" + test->test_suite_name() + "_" +
            test->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // ixo_cli with `args` after its name; `progress` as when stderr is a terminal.
  static Outcome Run(std::vector<std::string> args, bool progress = false) {
    args.insert(args.begin(), "ixo_cli");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    char* out = nullptr;
    char* err = nullptr;
    std::size_t out_size = 0;
    std::size_t err_size = 0;
    CliIo io;
    io.out = open_memstream(&out, &out_size);
    io.err = open_memstream(&err, &err_size);
    io.progress = progress;
    Outcome o;
    o.status = RunCli(static_cast<int>(argv.size()), argv.data(), io);
    std::fclose(io.out);
    std::fclose(io.err);
    o.out.assign(out, out_size);
    o.err.assign(err, err_size);
    std::free(out);
    std::free(err);
    return o;
  }

  std::filesystem::path dir_;
};

}  // namespace ixo

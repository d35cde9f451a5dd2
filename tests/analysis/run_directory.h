// A scratch program directory for tests that run real processes through the
// run controller: input.tmp, stand-in engines written as shell scripts, a
// recording host over the real platform, and the loop that ticks the poll the
// way the window's timer would.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "../platform/temp_dir.h"
#include "analysis/test_run_controller.h"
#include "platform/platform_run_host.h"
#include "run_fakes.h"

namespace ixo::testing {

class RunDirectory {
 public:
  RunDirectory() = default;
  ~RunDirectory() {
    // The run made this the current directory; leave it before it is removed.
    [[maybe_unused]] const int left = ::chdir("/");
  }
  RunDirectory(const RunDirectory&) = delete;
  RunDirectory& operator=(const RunDirectory&) = delete;

  // The program directory, with its trailing "/".
  const std::string& path() const { return dir_.path(); }

  void Write(const std::string& name, const std::string& content, mode_t mode = 0644) const {
    dir_.Write(name, content, mode);
  }
  // A stand-in engine: a shell script named ixo_engine running `body`.
  void StandInEngine(const std::string& body) const { dir_.Script("ixo_engine", body); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(path() + name); }
  std::string Read(const std::string& name) const { return ReadWholeFile(path() + name); }

 private:
  TempDir dir_{"ixo_runs_"};
};

// The real host, with every engine command it was asked to start recorded, and
// an optional hook that runs just before each start (its argument counts the
// starts from 0): the moment between two steps of a run.
class RecordingHost final : public RunHost {
 public:
  explicit RecordingHost(const std::string& directory) : host_(directory) {}
  FileError CopyFile(const std::string& source, const std::string& target) override {
    return host_.CopyFile(source, target);
  }
  int WriteFile(const std::string& path, std::string_view contents) override {
    return host_.WriteFile(path, contents);
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    return host_.RenameFile(from, to);
  }
  std::string ProgramDirectory() override { return host_.ProgramDirectory(); }
  FileError ChangeDirectory(const std::string& path) override {
    return host_.ChangeDirectory(path);
  }
  bool FileExists(const std::string& path) override { return host_.FileExists(path); }
  FileError DeleteFile(const std::string& path) override { return host_.DeleteFile(path); }
  FileError StartEngine(const std::vector<std::string>& arguments) override {
    if (before_start) before_start(starts_);
    ++starts_;
    FileError error = host_.StartEngine(arguments);
    if (!error) commands.push_back(JoinedCommand(arguments));
    return error;
  }
  EngineStatus PollEngine() override { return host_.PollEngine(); }
  void StopEngine() override { host_.StopEngine(); }
  ResultFileText ReadResult(const std::string& path) override { return host_.ReadResult(path); }
  ResultFileText ReadText(const std::string& path, size_t max_bytes) override {
    return host_.ReadText(path, max_bytes);
  }
  int EnginePid() const { return host_.EnginePid(); }

  std::vector<std::string> commands;  // the engines actually started
  std::function<void(int)> before_start;

 private:
  PlatformRunHost host_;
  int starts_ = 0;
};

// Ticks the poll until the run is no longer waiting for a result. Returns false
// if it still waits after a generous deadline (a hang, not a slow machine).
inline bool TickUntilIdle(TestRunController& controller) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
  while (controller.Running()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    controller.Timer1Timer();
  }
  return true;
}

// A small series of `n` values from a fixed linear congruential generator,
// one value per line, as the import writes input.tmp.
inline std::string SmallSeries(int n) {
  std::string text;
  unsigned long long state = 12345;
  for (int i = 0; i < n; ++i) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    const double u = static_cast<double>(state >> 11) / 9007199254740992.0;
    text += std::to_string(u * 2 - 1) + "\r\n";
  }
  return text;
}

}  // namespace ixo::testing

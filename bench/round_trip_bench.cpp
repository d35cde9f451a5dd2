// The round trip of a basic run as the user meets it: the real main window
// (offscreen), the real engine and the platform host, from the click on "Run
// the test" to "Calculation done." with every row filled. Each size is loaded
// once through "..." and run several times; the median and the fastest run
// are printed, beside the same runs polled by Timer1's 50 ms ticks alone (the
// host then offers no end descriptor), as the window did before it watched
// the engine's end.
//
//   round_trip_bench ENGINE [n ...]      (default n: 1000 10000; 7 runs each)
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/platform_run_host.h"
#include "tables/critical_values.h"
#include "ui/Unit1.h"
#include "ui/dialogs.h"
#include "ui/string_grid.h"

namespace {

constexpr int kRuns = 7;

// Answers the file dialog with one path; any box ends the bench.
class BenchDialogs final : public ixo::Dialogs {
 public:
  QString OpenFileName(QWidget*, const QString&) override { return file; }
  void ShowMessage(QWidget*, const QString& text) override { Fail(text); }
  void ShowError(QWidget*, const QString& message) override { Fail(message); }
  QString file;

 private:
  static void Fail(const QString& text) {
    std::fprintf(stderr, "round_trip_bench: %s\n", text.toStdString().c_str());
    std::exit(1);
  }
};

// The platform host without its end descriptor: the poll waits for Timer1.
class TickOnlyHost final : public ixo::RunHost {
 public:
  explicit TickOnlyHost(ixo::RunHost& host) : host_(host) {}
  ixo::FileError CopyFile(const std::string& source, const std::string& target) override {
    return host_.CopyFile(source, target);
  }
  int WriteFile(const std::string& path, std::string_view contents) override {
    return host_.WriteFile(path, contents);
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    return host_.RenameFile(from, to);
  }
  ixo::FileError DeleteFile(const std::string& path) override { return host_.DeleteFile(path); }
  std::string ProgramDirectory() override { return host_.ProgramDirectory(); }
  ixo::FileError ChangeDirectory(const std::string& path) override {
    return host_.ChangeDirectory(path);
  }
  bool FileExists(const std::string& path) override { return host_.FileExists(path); }
  ixo::FileError StartEngine(const std::vector<std::string>& arguments) override {
    return host_.StartEngine(arguments);
  }
  ixo::EngineStatus PollEngine() override { return host_.PollEngine(); }
  void StopEngine() override { host_.StopEngine(); }
  void DetachEngine() override { host_.DetachEngine(); }
  ixo::ResultFileText ReadResult(const std::string& path) override {
    return host_.ReadResult(path);
  }
  ixo::ResultFileText ReadText(const std::string& path, size_t max_bytes) override {
    return host_.ReadText(path, max_bytes);
  }

 private:
  ixo::RunHost& host_;
};

// Seconds from the click to the end of the run.
double TimeOneRun(TForm1& form) {
  QElapsedTimer clock;
  clock.start();
  form.Button1->click();
  while (form.Timer1->isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  if (form.Panel1->text() != "Calculation done." || form.StringGrid1->Cell(1, 9).isEmpty()) {
    std::fprintf(stderr, "round_trip_bench: the run did not finish\n");
    std::exit(1);
  }
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: round_trip_bench ENGINE [n ...]\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 10000};

  QTemporaryDir program;
  QTemporaryDir data_folder;
  const std::string directory = program.path().toStdString() + "/";
  std::filesystem::create_symlink(std::filesystem::absolute(argv[1]), directory + "ixo_engine");
  BenchDialogs dialogs;
  ixo::PlatformRunHost host(directory);
  TickOnlyHost tick_only(host);
  TForm1 form(dialogs, host, [](const std::string&) {});
  TForm1 ticking_form(dialogs, tick_only, [](const std::string&) {});

  std::printf("%8s %22s %22s\n", "", "end watched", "ticks only");
  std::printf("%8s %10s %11s %10s %11s\n", "n", "median s", "fastest s", "median s", "fastest s");
  for (const int n : sizes) {
    const std::string data = data_folder.path().toStdString() + "/series.txt";
    {
      std::mt19937_64 random(20240611);
      std::normal_distribution<double> normal;
      std::ofstream out(data);
      for (int i = 0; i < n; ++i) out << normal(random) << "\n";
    }
    dialogs.file = QString::fromStdString(data);
    form.SpeedButton1Click();
    // The engine's round trip alone: a tabulated class, also where the load
    // preselects the permutation test (n far from every class).
    form.ComboBox3->setCurrentIndex(ixo::SampleSizeClass(n));
    std::filesystem::remove(data);
    // Alternating runs share whatever load the machine carries.
    std::vector<double> watched, ticking;
    for (int run = 0; run < kRuns; ++run) {
      watched.push_back(TimeOneRun(form));
      ticking.push_back(TimeOneRun(ticking_form));
    }
    std::sort(watched.begin(), watched.end());
    std::sort(ticking.begin(), ticking.end());
    std::printf("%8d %10.3f %11.3f %10.3f %11.3f\n", n, watched[kRuns / 2], watched.front(),
                ticking[kRuns / 2], ticking.front());
  }
  return 0;
}

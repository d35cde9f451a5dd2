#include "window_test_support.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "ui/design_font.h"

// Qt and fontconfig keep caches for the life of the process that they do not
// free at exit; only those are kept out of the leak report.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libQt6Widgets\n";
}

namespace ixo {
namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "unit1_test";
    static char* argv[] = {name, nullptr};
    application_ = std::make_unique<QApplication>(argc, argv);
    InstallDesignFonts();
    QApplication::setFont(DesignFont());
  }
  void TearDown() override { application_.reset(); }

 private:
  std::unique_ptr<QApplication> application_;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::string ProgramDirectoryOf(const QTemporaryDir& directory) {
  return directory.path().toStdString() + "/";
}

}  // namespace

std::string SmallSeries() {
  std::ostringstream text;
  unsigned state = 12345u;
  for (int i = 0; i < 300; ++i) {
    state = state * 1103515245u + 12345u;
    text << static_cast<double>((state >> 8) % 20000) / 10000.0 - 1.0 << "\n";
  }
  return text.str();
}

MainWindowTest::MainWindowTest()
    : program_directory_(ProgramDirectoryOf(directory_)),
      host_(program_directory_),
      form_(dialogs_, host_,
            [this](const std::string& target) { opened_links_.push_back(target); }),
      form2_(form_.Observations(), dialogs_, form_.DecimalSeparator(), &form_) {
  form_.SetHistogramWindow(&form2_);
  std::filesystem::create_symlink(IXO_ENGINE_PATH, program_directory_ + "ixo_engine");
  std::filesystem::create_symlink(IXO_CLI_PATH, program_directory_ + "ixo_cli");
}

std::string MainWindowTest::WriteDataFile(const std::string& name, const std::string& text) {
  const std::string path = data_directory_.path().toStdString() + "/" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

void MainWindowTest::Load(const std::string& path) {
  dialogs_.file_to_open = QString::fromStdString(path);
  form_.Guarded([this] { form_.SpeedButton1Click(); });
}

void MainWindowTest::WaitForRunEnd() {
  // Only a guard against a run that never ends; the test does not depend on it.
  QElapsedTimer guard;
  guard.start();
  while (form_.Timer1->isActive() && guard.elapsed() < 120000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  ASSERT_FALSE(form_.Timer1->isActive()) << "the run did not end";
}

}  // namespace ixo

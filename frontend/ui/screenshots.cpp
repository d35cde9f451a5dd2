// Developer tool: pictures of the main window for the documentation. It builds
// the windows as ixo does, loads a data file, runs the basic test with the
// real engine, and saves each tab page, the correlation integrals of the run
// (through ixo_cli) and the histogram window as PNGs.
//
// Usage: ixo_screenshots <data file> <output folder> [curves | bin counts...]
// (under a real or virtual display). Each bin count given adds a picture of the
// histogram window with that many bins, histogram-<count>.png. The correlation
// integrals of the run are saved as correlation-integrals-<data file's base
// name>.png; with "curves" they are the only picture.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <string_view>

#include "platform/platform_run_host.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/curves_window.h"
#include "ui/design_font.h"
#include "ui/dialogs.h"

namespace {

// Answers the open-file dialog with the given file; boxes are printed instead of shown.
class ScriptedDialogs final : public ixo::Dialogs {
 public:
  explicit ScriptedDialogs(QString file) : file_(std::move(file)) {}
  QString OpenFileName(QWidget*, const QString&) override { return file_; }
  void ShowMessage(QWidget*, const QString& text) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
  }
  void ShowError(QWidget*, const QString& message) override {
    std::fprintf(stderr, "error: %s\n", qPrintable(message));
  }

 private:
  QString file_;
};

void Save(QWidget& widget, const QString& path) {
  QApplication::processEvents();
  if (!widget.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  const bool curves_only = argc == 4 && std::string_view(argv[3]) == "curves";
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: ixo_screenshots <data file> <output folder> [curves | bin counts...]\n");
    return 2;
  }
  QApplication application(argc, argv);
  ixo::InstallDesignFonts();
  QApplication::setFont(ixo::DesignFont());
  ScriptedDialogs dialogs(QString::fromLocal8Bit(argv[1]));
  ixo::PlatformRunHost host;
  TForm1 form1(dialogs, host, [](const std::string&) {});
  TForm2 form2(form1.Observations(), dialogs, form1.DecimalSeparator(), &form1);
  form1.SetHistogramWindow(&form2);
  form1.show();
  QApplication::processEvents();

  const QDir out(QString::fromLocal8Bit(argv[2]));
  if (!curves_only) Save(form1, out.filePath(QStringLiteral("start.png")));
  form1.Guarded([&] { form1.SpeedButton1Click(); });
  form1.Guarded([&] { form1.Button1Click(); });
  QElapsedTimer clock;
  clock.start();
  while (form1.Timer1->isActive() && clock.elapsed() < 120000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  form1.ShowCorrelationIntegrals1->trigger();
  while (form1.Timer1->isActive() && clock.elapsed() < 150000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  const QString base = QFileInfo(QString::fromLocal8Bit(argv[1])).completeBaseName();
  Save(*form1.CorrelationWindow(),
       out.filePath(QStringLiteral("correlation-integrals-") + base + QStringLiteral(".png")));
  form1.CorrelationWindow()->hide();
  if (curves_only) {
    form1.close();
    return 0;
  }
  form1.PageControl1->setCurrentWidget(form1.TabSheet2);
  form1.CheckBox1->click();  // the advanced run with its BDS line
  form1.Guarded([&] { form1.SpeedButton3Click(); });
  while (form1.Timer1->isActive() && clock.elapsed() < 180000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  Save(form1, out.filePath(QStringLiteral("advanced-test.png")));
  form1.PageControl1->setCurrentWidget(form1.TabSheet4);
  Save(form1, out.filePath(QStringLiteral("about.png")));
  form1.PageControl1->setCurrentWidget(form1.TabSheet1);
  Save(form1, out.filePath(QStringLiteral("basic-test.png")));

  // The histogram window is modal; grab it once it has computed, then close it.
  QTimer::singleShot(1500, &form2, [&] {
    Save(form2, out.filePath(QStringLiteral("histogram.png")));
    auto* bins = form2.findChild<QSpinBox*>(QStringLiteral("SpinEdit1"));
    for (int i = 3; i < argc && bins != nullptr; ++i) {
      bins->setValue(QString::fromLocal8Bit(argv[i]).toInt());
      Save(form2, out.filePath(QStringLiteral("histogram-%1.png").arg(argv[i])));
    }
    form2.accept();
  });
  form1.Guarded([&] { form1.BitBtn1Click(); });
  form1.close();
  return 0;
}

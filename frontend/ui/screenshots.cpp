// Developer tool: pictures of the main window for the documentation. It builds
// the windows as ixo does, loads a data file, runs the basic test with the
// real engine, and saves each tab page (and the histogram window) as a PNG.
//
// Usage: ixo_screenshots <data file> <output folder>   (under a real or virtual display)
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "platform/platform_run_host.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
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
  if (argc != 3) {
    std::fprintf(stderr, "usage: ixo_screenshots <data file> <output folder>\n");
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
  Save(form1, out.filePath(QStringLiteral("start.png")));
  form1.Guarded([&] { form1.SpeedButton1Click(); });
  form1.Guarded([&] { form1.Button1Click(); });
  QElapsedTimer clock;
  clock.start();
  while (form1.Timer1->isActive() && clock.elapsed() < 120000) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
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
    form2.accept();
  });
  form1.Guarded([&] { form1.BitBtn1Click(); });
  form1.close();
  return 0;
}

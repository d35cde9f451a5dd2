// Start-up of ixo: the application with its title "Ixo program", the main
// window TForm1 (created first, so it is the application's main window), the
// histogram window TForm2 (created hidden), then the message loop until the
// main window closes.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform_run_host.h"
#include "platform/shell_open.h"
#include "ui/Unit1.h"
#include "ui/Unit2.h"
#include "ui/design_font.h"
#include "ui/dialogs.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

// While the application object starts, Qt reports a display it cannot reach
// with warnings and then a fatal error that aborts. Say it in one line instead
// and leave with a failure status, without an abort trace.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("QT_QPA_PLATFORM");
  std::fprintf(stderr, "ixo: the window needs a display, and \"%s\" cannot be opened.\n",
               display.toLocal8Bit().constData());
  std::_Exit(EXIT_FAILURE);
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "ixo: the window needs a display, and neither DISPLAY nor "
                 "WAYLAND_DISPLAY is set.\n");
    return EXIT_FAILURE;
  }
  const QtMessageHandler default_handler = qInstallMessageHandler(StartupMessageHandler);
  QApplication application(argc, argv);
  qInstallMessageHandler(default_handler);
  QApplication::setApplicationName(QStringLiteral("Ixo program"));
  ixo::InstallDesignFonts();
  QApplication::setFont(ixo::DesignFont());

  ixo::QtDialogs dialogs;
  ixo::PlatformRunHost host;
  TForm1 form1(dialogs, host, [](const std::string& target) { ixo::OpenWithDesktop(target); });
  TForm2 form2(form1.Observations(), dialogs, form1.DecimalSeparator(), &form1);
  form1.SetHistogramWindow(&form2);
  form1.show();
  return application.exec();
}

// Modal dialogs of the windows behind one interface, so that tests can script
// them and no test ever blocks on a real dialog. The program uses QtDialogs.
#pragma once

#include <QString>

class QWidget;

namespace ixo {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The open-file dialog: initial directory, filter "*.*". Empty when cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& directory) = 0;
  // A message box with one of the program's fixed sentences, caption "Ixo program".
  virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
  // The error box for an error that escaped a handler: caption "Ixo program",
  // the message with a full stop added when it does not already end in one.
  virtual void ShowError(QWidget* parent, const QString& message) = 0;
};

// The real dialogs (QFileDialog, QMessageBox).
class QtDialogs final : public Dialogs {
 public:
  QString OpenFileName(QWidget* parent, const QString& directory) override;
  void ShowMessage(QWidget* parent, const QString& text) override;
  void ShowError(QWidget* parent, const QString& message) override;
};

// The text an error box shows for `message`: a full stop added when missing.
QString ErrorBoxText(const QString& message);

}  // namespace ixo

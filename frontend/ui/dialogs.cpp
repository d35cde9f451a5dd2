#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace ixo {

namespace {
const QString kCaption = QStringLiteral("Ixo program");
}  // namespace

QString QtDialogs::OpenFileName(QWidget* parent, const QString& directory) {
  // The filter reads "*.*" as designed, but matches every file: on this system
  // many data files have no extension, and "*.*" alone would hide them.
  return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), directory,
                                      QStringLiteral("*.* (*)"));
}

void QtDialogs::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kCaption, text, QMessageBox::Ok, parent);
  box.exec();
}

void QtDialogs::ShowError(QWidget* parent, const QString& message) {
  QMessageBox box(QMessageBox::Critical, kCaption, ErrorBoxText(message), QMessageBox::Ok, parent);
  box.exec();
}

QString ErrorBoxText(const QString& message) {
  if (message.endsWith(QLatin1Char('.'))) return message;
  return message + QLatin1Char('.');
}

}  // namespace ixo

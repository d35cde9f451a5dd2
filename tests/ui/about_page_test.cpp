// The about page's link labels and the real error box, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "ui/jpeg_picture.h"
#include "ui/link_label.h"
#include "window_test_support.h"

namespace ixo {
namespace {

bool LooksHighlighted(const LinkLabel& label) {
  return label.font().underline() && label.palette().color(QPalette::WindowText) == Qt::blue;
}

bool LooksVisited(const LinkLabel& label) {
  return !label.font().underline() &&
         label.palette().color(QPalette::WindowText) == QColor(0, 0, 128);
}

void Enter(QWidget* widget) {
  QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(widget, &event);
}

void Leave(QWidget* widget) {
  QEvent event(QEvent::Leave);
  QApplication::sendEvent(widget, &event);
}

void Click(QWidget* widget) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
}

TEST_F(MainWindowTest, LinkLabelsChangeLookWithTheMouseAndOpenTheirTargets) {
  for (LinkLabel* link : {form_.AuthorLink, form_.HomepageLink}) {
    SCOPED_TRACE(link->objectName().toStdString());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->toolTip(), link->Target());
    EXPECT_TRUE(LooksHighlighted(*link));  // as laid out
    Enter(link);
    EXPECT_TRUE(LooksHighlighted(*link));
    Leave(link);
    EXPECT_TRUE(LooksVisited(*link));
    Enter(link);
    EXPECT_TRUE(LooksHighlighted(*link));
    Leave(link);
    Click(link);
  }
  EXPECT_EQ(opened_links_,
            std::vector<std::string>({"mailto:ixo@example.org", "https://example.org/ixo"}));
}

// The real error box: captioned with the program's title, the message with a
// full stop added only where it lacks one. The box is read and closed from a
// timer, so the test never waits for a user.
TEST(QtDialogsTest, ErrorBoxHasTheProgramCaptionAndAFullStop) {
  for (const auto& [message, shown] :
       {std::pair<QString, QString>{"File not found", "File not found."},
        {"Invalid numeric input.", "Invalid numeric input."}}) {
    QString caption, text;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      caption = box->windowTitle();
      text = box->text();
      box->accept();
    });
    QtDialogs().ShowError(nullptr, message);
    EXPECT_EQ(caption, "Ixo program");
    EXPECT_EQ(text, shown);
  }
}

// The real open-file dialog starts in the given directory and, while its filter
// reads "*.*", lists files without an extension too: data files often have none.
TEST(QtDialogsTest, OpenDialogStartsInTheDirectoryAndShowsEveryFile) {
  QTemporaryDir directory;
  std::ofstream(directory.filePath("series").toStdString()) << "1\n";
  QString shown_directory;
  QStringList filters;
  bool lists_the_file = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shown_directory = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    const QStringList patterns = filters.value(0).section('(', 1).chopped(1).split(' ');
    for (const QString& pattern : patterns) {
      lists_the_file = lists_the_file || QDir::match(pattern, QStringLiteral("series"));
    }
    dialog->selectFile(directory.filePath("series"));
    static_cast<QDialog*>(dialog)->accept();  // public in QDialog
  });
  const QString chosen = QtDialogs().OpenFileName(nullptr, directory.path());
  EXPECT_EQ(shown_directory, QDir(directory.path()).absolutePath());
  EXPECT_EQ(filters, QStringList({"*.* (*)"}));
  EXPECT_TRUE(lists_the_file);
  EXPECT_EQ(chosen, directory.filePath("series"));
}

TEST(JpegPictureTest, DecodesTheBuiltInPictureAndRefusesOtherBytes) {
  const QImage picture = AboutPicture();
  EXPECT_EQ(picture.size(), QSize(172, 73));
  const unsigned char not_a_picture[] = {0xFF, 0xD8, 0xFF, 0x00, 'x', 'y'};
  EXPECT_TRUE(DecodeJpeg(not_a_picture, sizeof not_a_picture).isNull());
  EXPECT_TRUE(DecodeJpeg(not_a_picture, 0).isNull());
}

}  // namespace
}  // namespace ixo

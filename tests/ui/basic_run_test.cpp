// A complete basic run with the real engine, driven by the window's own timer,
// then the results copied to the clipboard; and the clipboard text of chosen
// grid rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/string_grid.h"
#include "window_test_support.h"

namespace ixo {
namespace {

QString Clipboard() {
  return QGuiApplication::clipboard()->text();
}

TEST_F(MainWindowTest, BasicRunFillsTheGridAndCopiesIt) {
  Load(WriteDataFile("small.txt", SmallSeries()));
  ASSERT_TRUE(dialogs_.errors.empty());
  std::ofstream(program_directory_ + "output.tmp") << "99.999\n";  // left by an earlier run

  form_.Button1->click();
  EXPECT_TRUE(form_.Timer1->isActive());
  EXPECT_EQ(form_.Panel1->text(),
            "Calculation can take several minutes, please do not interupt. [2/10]");
  WaitForRunEnd();

  ASSERT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front().toStdString();
  EXPECT_EQ(form_.Panel1->text(), "Calculation done.");
  EXPECT_FALSE(std::filesystem::exists(program_directory_ + "output.tmp"));
  const StringGrid& grid = *form_.StringGrid1;
  EXPECT_EQ(grid.Cell(0, 0), "m");
  EXPECT_EQ(grid.Cell(1, 0), "Ixo");
  EXPECT_EQ(grid.Cell(2, 0), "significance");
  for (int row = 1; row <= 9; ++row) {
    EXPECT_EQ(grid.Cell(0, row), QString("m=%1").arg(row + 1));
    bool is_number = false;
    const double value = grid.Cell(1, row).toDouble(&is_number);
    EXPECT_TRUE(is_number && value > 0 && value < 99) << grid.Cell(1, row).toStdString();
    // The engine's three decimals come through without trailing zeros.
    EXPECT_EQ(grid.Cell(1, row), QString::number(std::round(value * 1000) / 1000, 'g', 15));
    EXPECT_FALSE(grid.Cell(2, row).isEmpty());
  }

  // After the run the whole table is selected and copied.
  form_.StringGrid1->SelectRows(1, 9);
  form_.CopyresultsintoClipboard1->trigger();
  QString expected = "dimension\tIxo\tsignificance\r\n";
  for (int row = 1; row <= 9; ++row) {
    expected += grid.Cell(0, row) + "\t" + grid.Cell(1, row) + "\t" + grid.Cell(2, row) + "\r\n";
  }
  EXPECT_EQ(Clipboard(), expected);
}

TEST_F(MainWindowTest, CopyTakesTheSelectedRowsInGridOrder) {
  StringGrid& grid = *form_.StringGrid1;
  for (int row = 1; row <= 9; ++row) {
    grid.SetCell(0, row, QString("m=%1").arg(row + 1));
    grid.SetCell(1, row, QString::number(row));
  }
  grid.SelectRows(3, 5);
  form_.CopyresultsintoClipboard1->trigger();
  EXPECT_EQ(Clipboard(),
            "dimension\tIxo\tsignificance\r\n"
            "m=4\t3\t\r\n"
            "m=5\t4\t\r\n"
            "m=6\t5\t\r\n");
}

// A right click opens the context menu. Inside the range selected before it
// keeps that range, so that the range can be copied; on a row outside it, it
// selects that row first, so that the menu copies the row clicked.
TEST_F(MainWindowTest, RightClickSelectsTheRowOutsideTheSelectionAndOpensTheMenu) {
  StringGrid& grid = *form_.StringGrid1;
  form_.show();
  grid.SelectRows(2, 7);
  const struct {
    int row;  // grid row clicked
    int top;
    int bottom;
  } cases[] = {{5, 2, 7}, {7, 2, 7}, {9, 9, 9}, {1, 1, 1}, {1, 1, 1}};
  for (const auto& c : cases) {
    const QPoint at = grid.visualRect(grid.model()->index(c.row - 1, 1)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid.viewport()->mapToGlobal(at),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &press);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &menu);
    EXPECT_TRUE(form_.PopupMenu1->isVisible()) << "row " << c.row;
    form_.PopupMenu1->hide();
    const GridRows selected = grid.SelectedRows();
    EXPECT_EQ(selected.top, c.top) << "row " << c.row;
    EXPECT_EQ(selected.bottom, c.bottom) << "row " << c.row;
  }
}

// Ctrl+C on the grid copies what the context menu copies, not the current cell.
TEST_F(MainWindowTest, CopyKeysCopyTheSelectedRowsAsTheMenuDoes) {
  StringGrid& grid = *form_.StringGrid1;
  for (int row = 1; row <= 9; ++row) {
    grid.SetCell(0, row, QString("m=%1").arg(row + 1));
    grid.SetCell(1, row, QString::number(row));
    grid.SetCell(2, row, "do not reject");
  }
  for (const auto& [top, bottom] : {std::pair{3, 5}, {1, 9}, {9, 9}}) {
    grid.SelectRows(top, bottom);
    form_.CopyresultsintoClipboard1->trigger();
    const QString from_menu = Clipboard();
    QGuiApplication::clipboard()->clear();
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"));
    QApplication::sendEvent(&grid, &copy);
    EXPECT_EQ(Clipboard(), from_menu) << "rows " << top << " to " << bottom;
  }
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(MainWindowTest, CopyBeforeAnyRunGivesEmptyCells) {
  form_.CopyresultsintoClipboard1->trigger();  // the first data row is selected at start
  EXPECT_EQ(Clipboard(), "dimension\tIxo\tsignificance\r\n\t\t\r\n");
}

}  // namespace
}  // namespace ixo

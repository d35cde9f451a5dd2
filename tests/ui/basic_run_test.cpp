// A complete basic run with the real engine, driven by the window's own timer,
// then the results copied to the clipboard and the run's correlation integrals
// shown; and the clipboard text of chosen grid rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QXYSeries>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/curves_chart_view.h"
#include "ui/curves_window.h"
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

TEST_F(MainWindowTest, CorrelationIntegralsOfAFinishedRunShowOneSeriesPerDimension) {
  Load(WriteDataFile("small.txt", SmallSeries()));
  form_.ComboBox2->setCurrentIndex(2);  // dimensions 2 to 4
  EXPECT_FALSE(form_.ShowCorrelationIntegrals1->isEnabled());
  form_.Button1->click();
  EXPECT_FALSE(form_.ShowCorrelationIntegrals1->isEnabled());  // not while the run goes on
  WaitForRunEnd();
  ASSERT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front().toStdString();
  ASSERT_TRUE(form_.ShowCorrelationIntegrals1->isEnabled());
  const QList<QAction*> menu = form_.PopupMenu1->actions();
  ASSERT_EQ(menu.indexOf(form_.ShowCorrelationIntegrals1),
            menu.indexOf(form_.CopyresultsintoClipboard1) + 1);

  // The curves are those of the finished run, whatever the lists say now.
  form_.ComboBox2->setCurrentIndex(8);
  form_.ShowCorrelationIntegrals1->trigger();
  EXPECT_TRUE(form_.Timer1->isActive());
  WaitForRunEnd();
  ASSERT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front().toStdString();
  ASSERT_TRUE(dialogs_.messages.empty()) << dialogs_.messages.front().toStdString();
  EXPECT_EQ(form_.Panel1->text(), "Calculation done.");
  EXPECT_FALSE(std::filesystem::exists(program_directory_ + "curves.tmp"));

  const CurvesWindow& window = *form_.CorrelationWindow();
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(window.isModal());
  EXPECT_EQ(window.windowTitle(), "Correlation integrals");
  const QList<QAbstractSeries*> series = window.Chart1->DimensionSeries();
  ASSERT_EQ(series.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(series[i]->name(), QString("m=%1").arg(i + 2));
    EXPECT_FALSE(static_cast<QXYSeries*>(series[i])->points().isEmpty());
  }
  EXPECT_EQ(window.Chart1->FitLines().size(), 3);

  // A new series takes the curves of the old one away.
  Load(WriteDataFile("other.txt", SmallSeries()));
  EXPECT_FALSE(form_.ShowCorrelationIntegrals1->isEnabled());
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

// A right click opens the context menu and keeps the range selected before, also
// when it lands on another row, so that the range can be copied.
TEST_F(MainWindowTest, RightClickKeepsTheSelectionAndOpensTheMenu) {
  StringGrid& grid = *form_.StringGrid1;
  form_.show();
  grid.SelectRows(2, 7);
  const QPoint on_row_9 = grid.visualRect(grid.model()->index(8, 1)).center();
  QMouseEvent press(QEvent::MouseButtonPress, on_row_9, grid.viewport()->mapToGlobal(on_row_9),
                    Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &press);
  QContextMenuEvent menu(QContextMenuEvent::Mouse, on_row_9,
                         grid.viewport()->mapToGlobal(on_row_9));
  QApplication::sendEvent(grid.viewport(), &menu);
  EXPECT_TRUE(form_.PopupMenu1->isVisible());
  form_.PopupMenu1->hide();
  const GridRows selected = grid.SelectedRows();
  EXPECT_EQ(selected.top, 2);
  EXPECT_EQ(selected.bottom, 7);
}

TEST_F(MainWindowTest, CopyBeforeAnyRunGivesEmptyCells) {
  form_.CopyresultsintoClipboard1->trigger();  // the first data row is selected at start
  EXPECT_EQ(Clipboard(), "dimension\tIxo\tsignificance\r\n\t\t\r\n");
}

}  // namespace
}  // namespace ixo

// A complete basic run with the real engine, driven by the window's own timer,
// then the results copied to the clipboard and the run's correlation integrals
// shown; and the clipboard text of chosen grid rows.
#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QXYSeries>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "analysis/pvalue_table.h"
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
  // 300 values preselect the permutation test; a class the user chooses is kept.
  EXPECT_EQ(form_.ComboBox3->currentText(), "permutation");
  form_.ComboBox3->setCurrentIndex(0);
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

  // The run leaves the whole table selected, so the first copy takes all of it.
  form_.CopyresultsintoClipboard1->trigger();
  QString expected = "dimension\tIxo\tsignificance\r\n";
  for (int row = 1; row <= 9; ++row) {
    expected += grid.Cell(0, row) + "\t" + grid.Cell(1, row) + "\t" + grid.Cell(2, row) + "\r\n";
  }
  EXPECT_EQ(Clipboard(), expected);
}

// A load during a run stops it, and a load that takes a new series leaves no
// row, statistic or path of the earlier one beside it.
TEST_F(MainWindowTest, LoadDuringARunStopsItAndLeavesNothingOfTheEarlierSeries) {
  const std::string first = WriteDataFile("small.txt", SmallSeries());
  Load(first);
  form_.Button1->click();
  ASSERT_TRUE(form_.Timer1->isActive());
  const std::string one_value = WriteDataFile("one.txt", "42\n");
  Load(one_value);  // taken, but too short for statistics
  EXPECT_FALSE(form_.Timer1->isActive());
  EXPECT_EQ(form_.Panel1->text(), "Calculation stopped.");
  for (int row = 1; row <= 9; ++row) EXPECT_EQ(form_.StringGrid1->Cell(1, row), "") << row;
  EXPECT_EQ(dialogs_.errors, std::vector<QString>{"Invalid floating point operation."});
  EXPECT_EQ(form_.Label5->text(), "1");
  for (const QLabel* label : {form_.Label9, form_.Label11, form_.Label13, form_.Label15,
                              form_.Label36, form_.Label38, form_.Label40, form_.Label42}) {
    EXPECT_EQ(label->text(), "") << label->objectName().toStdString();
  }
  EXPECT_EQ(form_.Edit1->text().toStdString(), one_value);

  // A load that takes nothing leaves the edit boxes naming what is loaded.
  Load(WriteDataFile("missing.txt", "") + ".gone");
  EXPECT_EQ(dialogs_.errors.size(), 2u);
  EXPECT_EQ(form_.Edit1->text().toStdString(), one_value);
  EXPECT_EQ(form_.Edit3->text().toStdString(), one_value);
}

// The end of each engine process triggers the poll at once: a run finishes
// even when Timer1 would not tick again within the test's life.
TEST_F(MainWindowTest, EngineEndTriggersThePollWithoutWaitingForATick) {
  Load(WriteDataFile("small.txt", SmallSeries()));
  form_.Timer1->setInterval(24 * 3600 * 1000);
  form_.ComboBox2->setCurrentIndex(2);  // dimensions 2 to 4
  form_.Button1->click();
  WaitForRunEnd();
  EXPECT_EQ(form_.Panel1->text(), "Calculation done.");
  EXPECT_FALSE(form_.StringGrid1->Cell(1, 3).isEmpty());
  EXPECT_TRUE(dialogs_.errors.empty() && dialogs_.messages.empty());
}

#ifdef IXO_CLI_PATH
// "permutation" in ComboBox3: the grid and the clipboard get the p-value
// column; back on a class, both are as they always were.
TEST_F(MainWindowTest, PermutationRunShowsAndCopiesThePValues) {
  Load(WriteDataFile("small.txt", SmallSeries()));
  // 300 values are far from every class: the permutation test comes
  // preselected, and a class chosen all the same says that it does not fit.
  EXPECT_EQ(form_.ComboBox3->currentIndex(), 3);
  EXPECT_TRUE(form_.ComboBox3->toolTip().isEmpty());
  form_.ComboBox3->setCurrentIndex(0);
  EXPECT_FALSE(form_.ComboBox3->toolTip().isEmpty());
  form_.ComboBox2->setCurrentIndex(0);
  form_.ComboBox3->setCurrentIndex(3);
  EXPECT_TRUE(form_.ComboBox3->toolTip().isEmpty());
  form_.Button1->click();
  WaitForRunEnd();
  ASSERT_TRUE(dialogs_.errors.empty() && dialogs_.messages.empty());
  const StringGrid& grid = *form_.StringGrid1;
  ASSERT_EQ(grid.columnCount(), 4);
  EXPECT_EQ(grid.Cell(3, 0), "p-value");
  EXPECT_LE(grid.geometry().right(), form_.width() - 1);  // the wider grid stays inside
  // The overall verdict, one whole line under the grid, inside the page.
  const QLabel& line = *form_.FamilyVerdict;
  EXPECT_TRUE(line.text() == ixo::kFamilyRejected || line.text() == ixo::kFamilyNotRejected)
      << line.text().toStdString();
  EXPECT_TRUE(line.isVisibleTo(&form_));
  EXPECT_LE(line.sizeHint().width(), line.width()) << line.text().toStdString();
  EXPECT_GE(line.geometry().top(), grid.geometry().bottom());
  EXPECT_EQ(line.geometry().right(), grid.geometry().right());
  EXPECT_LE(line.geometry().bottom(), line.parentWidget()->height() - 1);
  form_.CopyresultsintoClipboard1->trigger();
  EXPECT_EQ(Clipboard(), "dimension\tIxo\tsignificance\tp-value\r\n" + grid.Cell(0, 1) + "\t" +
                             grid.Cell(1, 1) + "\t" + grid.Cell(2, 1) + "\t" + grid.Cell(3, 1) +
                             "\r\n" + line.text() + "\r\n");

  form_.ComboBox3->setCurrentIndex(0);
  form_.Button1->click();
  WaitForRunEnd();
  ASSERT_EQ(grid.columnCount(), 3);
  EXPECT_EQ(grid.width(), 151);
  EXPECT_TRUE(form_.FamilyVerdict->text().isEmpty());
  form_.CopyresultsintoClipboard1->trigger();
  EXPECT_TRUE(Clipboard().startsWith("dimension\tIxo\tsignificance\r\nm=2\t"));
  EXPECT_FALSE(Clipboard().contains("i.i.d.")) << Clipboard().toStdString();
  EXPECT_FALSE(grid.item(0, 2)->toolTip().isEmpty());  // the class's hint on the verdict
}
// A long p-value step shows in the status line how far ixo_cli has come, and
// closing the window stops it: no ixo_cli computes on for nobody.
TEST_F(MainWindowTest, PValueStepShowsItsProgressAndEndsWithTheWindow) {
  std::string series;
  for (int i = 0; i < 14; ++i) series += SmallSeries();  // 4200 values
  Load(WriteDataFile("long.txt", series));
  ASSERT_EQ(form_.ComboBox3->currentText(), "permutation");
  form_.ComboBox2->setCurrentIndex(0);
  form_.Button1->click();
  QElapsedTimer clock;
  clock.start();
  while (form_.Timer1->isActive() && !form_.Panel1->text().endsWith(" %]") &&
         clock.elapsed() < 120000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  ASSERT_TRUE(form_.Timer1->isActive()) << "ixo_cli ended before the window closed";
  EXPECT_TRUE(form_.Panel1->text().startsWith(
      "Calculation can take several minutes, please do not interupt. [p-values "))
      << form_.Panel1->text().toStdString();
  const int pid = host_.EnginePid();
  ASSERT_GT(pid, 0);
  form_.close();
  errno = 0;
  EXPECT_EQ(::kill(pid, 0), -1) << "ixo_cli " << pid << " still runs";
  EXPECT_EQ(errno, ESRCH);
  EXPECT_FALSE(std::filesystem::exists(program_directory_ + "progress.tmp"));
  EXPECT_FALSE(std::filesystem::exists(program_directory_ + "input.tmp"));
}
#endif

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

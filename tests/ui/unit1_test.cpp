// The main window offscreen: its start values, a load filling both tabs, the
// user messages, the error box and the clean-up on close.
#include "ui/Unit1.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/string_grid.h"
#include "window_test_support.h"

namespace ixo {
namespace {

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
  return items;
}

std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST_F(MainWindowTest, StartsWithTheDesignedWindowAndPages) {
  EXPECT_EQ(form_.windowTitle(), "Ixo program");
  EXPECT_EQ(form_.size(), QSize(638, 235));
  ASSERT_EQ(form_.PageControl1->count(), 3);
  EXPECT_EQ(form_.PageControl1->tabText(0), "Basic test");
  EXPECT_EQ(form_.PageControl1->tabText(1), "Advanced test");
  EXPECT_EQ(form_.PageControl1->tabText(2), "About the program");
  EXPECT_EQ(form_.PageControl1->currentWidget(), form_.TabSheet1);
  EXPECT_EQ(form_.Panel1->text(), " Welcome to the Ixo program.");
  EXPECT_EQ(form_.Panel1->geometry(), QRect(0, 217, 638, 18));
  EXPECT_EQ(form_.Timer1->interval(), 50);
  EXPECT_FALSE(form_.Timer1->isActive());
  ASSERT_EQ(form_.PopupMenu1->actions().size(), 2);
  EXPECT_EQ(form_.CopyresultsintoClipboard1->text(), "Copy results into Clipboard");
  EXPECT_EQ(form_.ShowCorrelationIntegrals1->text(), "Show correlation integrals");
  // Controls are found by their layout names.
  for (const char* name : {"Button1", "BitBtn1", "SpeedButton1", "SpeedButton2", "SpeedButton3",
                           "SpeedButton4", "ComboBox1r", "StringGrid1", "ListBox1", "Edit7",
                           "Memo1", "Memo2", "Image1", "Panel3", "GroupBox7"}) {
    EXPECT_NE(form_.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
}

TEST_F(MainWindowTest, EveryControlStandsAtItsDesignedPlace) {
  struct Place {
    const char* name;
    QRect geometry;
  };
  const Place places[] = {
      {"PageControl1", {0, 0, 638, 218}},   {"Panel1", {0, 217, 638, 18}},
      {"Edit3", {59, 12, 110, 21}},         {"SpeedButton1", {170, 11, 23, 23}},
      {"GroupBox2", {9, 38, 184, 147}},     {"ListBox1", {200, 11, 89, 174}},
      {"GroupBox3", {294, 6, 176, 115}},    {"BitBtn1", {296, 129, 85, 33}},
      {"Button1", {384, 129, 85, 33}},      {"StringGrid1", {475, 9, 151, 153}},
      {"Edit1", {59, 12, 110, 21}},         {"SpeedButton2", {170, 11, 23, 23}},
      {"GroupBox4", {9, 38, 184, 147}},     {"GroupBox1", {199, 8, 210, 153}},
      {"Memo1", {416, 14, 210, 111}},       {"SpeedButton3", {416, 128, 111, 33}},
      {"SpeedButton4", {544, 128, 85, 33}}, {"Panel3", {8, 8, 176, 77}},
      {"Image1", {2, 2, 172, 73}},          {"GroupBox7", {192, 3, 225, 82}},
      {"GroupBox6", {8, 87, 409, 101}},     {"Memo2", {420, 8, 201, 161}},
  };
  for (const Place& place : places) {
    const auto* widget = form_.findChild<QWidget*>(QString::fromLatin1(place.name));
    ASSERT_NE(widget, nullptr) << place.name;
    EXPECT_EQ(widget->geometry(), place.geometry) << place.name;
  }
  // Labels, lists and fields whose place alone is designed.
  const std::pair<const char*, QPoint> corners[] = {
      {"Label4", {10, 13}},    {"Label21", {10, 13}},    {"Label7", {79, 25}},
      {"Label5", {126, 40}},   {"Label44", {116, 56}},   {"Label9", {43, 72}},
      {"Label11", {103, 88}},  {"Label13", {47, 104}},   {"Label15", {143, 120}},
      {"Label34", {79, 25}},   {"Label31", {126, 40}},   {"Label43", {116, 56}},
      {"Label36", {43, 72}},   {"Label38", {103, 88}},   {"Label40", {47, 104}},
      {"Label42", {143, 120}}, {"ComboBox1r", {87, 20}}, {"ComboBox2", {112, 51}},
      {"ComboBox3", {87, 82}}, {"Edit2", {96, 20}},      {"Edit4", {160, 20}},
      {"Edit7", {160, 46}},    {"Edit5", {160, 72}},     {"Edit6", {160, 98}},
      {"Edit8", {160, 126}},   {"Label28", {224, 40}},
  };
  for (const auto& [name, corner] : corners) {
    const auto* widget = form_.findChild<QWidget*>(QString::fromLatin1(name));
    ASSERT_NE(widget, nullptr) << name;
    EXPECT_EQ(widget->pos(), corner) << name;
  }
  EXPECT_EQ(form_.ComboBox1r->width(), 82);
  EXPECT_EQ(form_.ComboBox2->width(), 57);
  EXPECT_EQ(form_.ComboBox3->width(), 82);  // ComboBox1r's column, for "permutation"
  EXPECT_EQ(form_.AuthorLink->pos(), QPoint(44, 14));
  EXPECT_EQ(form_.HomepageLink->pos(), QPoint(288, 80));
  for (QWidget* page : {form_.TabSheet1, form_.TabSheet2, form_.TabSheet4}) {
    for (const QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      EXPECT_FALSE(child->objectName().isEmpty() && !qobject_cast<const QLabel*>(child))
          << "an unnamed control on " << page->objectName().toStdString();
    }
  }
}

// Each item of each list reads whole in the closed box, in the design font:
// its text is no wider than the field the style leaves beside the arrow.
TEST_F(MainWindowTest, ClosedListsShowEveryItemWhole) {
  form_.show();
  for (QComboBox* list : {form_.ComboBox1r, form_.ComboBox2, form_.ComboBox3}) {
    for (int i = 0; i < list->count(); ++i) {
      list->setCurrentIndex(i);
      QStyleOptionComboBox option;
      option.initFrom(list);
      option.currentText = list->currentText();
      option.frame = list->hasFrame();
      const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                        QStyle::SC_ComboBoxEditField, list);
      EXPECT_LE(list->fontMetrics().horizontalAdvance(list->currentText()), field.width())
          << list->objectName().toStdString() << ": " << list->currentText().toStdString();
    }
  }
  // Its caption stays beside it, clear of the box.
  const QLabel* caption = nullptr;
  for (const QLabel* label : form_.GroupBox3->findChildren<QLabel*>()) {
    if (label->text() == "Set of critical values:") caption = label;
  }
  ASSERT_NE(caption, nullptr);
  EXPECT_LT(caption->geometry().right(), form_.ComboBox3->x());
  EXPECT_LE(caption->geometry().bottom(), form_.GroupBox3->height());
}

TEST_F(MainWindowTest, StartsWithTheBasicPageEmptyAndTheDefaultOptions) {
  EXPECT_TRUE(form_.Edit3->text().isEmpty());
  EXPECT_EQ(form_.ListBox1->count(), 0);
  EXPECT_EQ(form_.GroupBox2->title(), " Descriptive statistics ");
  for (QLabel* value : {form_.Label7, form_.Label5, form_.Label44, form_.Label9, form_.Label11,
                        form_.Label13, form_.Label15}) {
    EXPECT_EQ(value->text(), "0") << value->objectName().toStdString();
    EXPECT_TRUE(value->font().bold()) << value->objectName().toStdString();
  }
  EXPECT_EQ(Items(form_.ComboBox1r),
            QStringList({"0.60 - 1.90", "0.25 - 1.00", "0.50 - 1.50", "0.25 - 2.00"}));
  EXPECT_EQ(form_.ComboBox1r->currentIndex(), 0);
  EXPECT_EQ(Items(form_.ComboBox2), QStringList({"2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_EQ(form_.ComboBox2->currentIndex(), 8);
  EXPECT_EQ(form_.ComboBox2->maxVisibleItems(), 9);
  EXPECT_EQ(Items(form_.ComboBox3), QStringList({"500", "1000", "2500", "permutation"}));
  EXPECT_EQ(form_.ComboBox3->currentIndex(), 0);
  for (QComboBox* list : {form_.ComboBox1r, form_.ComboBox2, form_.ComboBox3}) {
    EXPECT_FALSE(list->isEditable());
  }
  EXPECT_EQ(form_.Button1->text(), "Run the test");
  EXPECT_EQ(form_.BitBtn1->text(), "Histogram");
  EXPECT_EQ(form_.SpeedButton1->text(), "...");

  const StringGrid& grid = *form_.StringGrid1;
  EXPECT_EQ(grid.columnCount(), 3);
  EXPECT_EQ(grid.rowCount(), 9);  // the header row is the grid's fixed row above these
  for (int row = 0; row <= 9; ++row) {
    for (int column = 0; column < 3; ++column) EXPECT_TRUE(grid.Cell(column, row).isEmpty());
  }
  EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(grid.selectionMode(), QAbstractItemView::ContiguousSelection);
  const GridRows selected = grid.SelectedRows();
  EXPECT_EQ(selected.top, 1);
  EXPECT_EQ(selected.bottom, 1);
}

TEST_F(MainWindowTest, StartsWithTheAdvancedFieldsAndTheirBoxes) {
  EXPECT_EQ(form_.Edit2->text(), "0.60");
  EXPECT_EQ(form_.Edit4->text(), "1.90");
  EXPECT_EQ(form_.Edit7->text(), "2");
  EXPECT_EQ(form_.Edit5->text(), "40");
  EXPECT_EQ(form_.Edit6->text(), "50");
  EXPECT_EQ(form_.Edit8->text(), "0.50");
  for (QLineEdit* open : {form_.Edit2, form_.Edit4, form_.Edit7}) EXPECT_TRUE(open->isEnabled());
  for (QLineEdit* locked : {form_.Edit5, form_.Edit6, form_.Edit8}) {
    EXPECT_FALSE(locked->isEnabled());
  }
  EXPECT_EQ(form_.CheckBox3->text(), "Number of intervals:");
  EXPECT_EQ(form_.CheckBox2->text(), "Cm constraint:");
  EXPECT_EQ(form_.CheckBox1->text(), "Compute BDS for epsilon:");
  for (QCheckBox* box : {form_.CheckBox1, form_.CheckBox2, form_.CheckBox3}) {
    EXPECT_FALSE(box->isChecked());
  }
  EXPECT_TRUE(form_.Memo1->toPlainText().isEmpty());
  EXPECT_EQ(form_.SpeedButton3->text(), "Run the test");
  EXPECT_EQ(form_.SpeedButton4->text(), "Clear window");
  EXPECT_EQ(form_.GroupBox1->title(), " Advanced options");

  // Ticking a box unlocks its field, unticking locks it again with its text kept.
  form_.CheckBox3->click();
  EXPECT_TRUE(form_.Edit5->isEnabled());
  form_.Edit5->setText("20");
  form_.CheckBox3->click();
  EXPECT_FALSE(form_.Edit5->isEnabled());
  EXPECT_EQ(form_.Edit5->text(), "20");
  form_.CheckBox1->click();
  EXPECT_TRUE(form_.Edit8->isEnabled());
}

TEST_F(MainWindowTest, StartsWithTheAboutPage) {
  EXPECT_FALSE(form_.Image1->pixmap().isNull());
  EXPECT_EQ(form_.Image1->pixmap().size(), QSize(172, 73));
  EXPECT_FALSE(form_.Image1->toolTip().isEmpty());
  EXPECT_EQ(form_.GroupBox7->title(), " Program info");
  EXPECT_EQ(form_.GroupBox6->title(), " Description ");
  EXPECT_TRUE(form_.Memo2->isReadOnly());
  const QString help = form_.Memo2->toPlainText();
  EXPECT_TRUE(help.startsWith("Ixo program [help file]"));
  for (const char* heading :
       {"TABLE OF CONTENT:", "1. BASIC DESCRIPTION", "2. HOW TO USE THE PROGRAM",
        "3. ADVANCED INFO", "4. CONTACT", "ixo_engine", "ixo@example.org"}) {
    EXPECT_TRUE(help.contains(QString::fromLatin1(heading))) << heading;
  }
  EXPECT_EQ(form_.AuthorLink->text(), "The Ixo developers");
  EXPECT_EQ(form_.AuthorLink->Target(), "mailto:ixo@example.org");
  EXPECT_EQ(form_.HomepageLink->text(), "program homepage");
  EXPECT_EQ(form_.HomepageLink->Target(), "https://example.org/ixo");
}

// The series 1, 2, 3, 4 behind a header line: both tabs show the same figures.
TEST_F(MainWindowTest, LoadFillsBothTabsTheListAndInputTmp) {
  const std::string path = WriteDataFile("four.txt", "value\n1\n2\n3\n4\n");
  form2_.SetGaugeProgress(100);
  Load(path);

  ASSERT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front().toStdString();
  ASSERT_EQ(dialogs_.asked_directories.size(), 1u);
  EXPECT_EQ(dialogs_.asked_directories[0].toStdString(), program_directory_);
  EXPECT_EQ(form_.Edit3->text().toStdString(), path);
  EXPECT_EQ(form_.Edit1->text().toStdString(), path);
  const std::pair<QLabel*, QLabel*> pairs[] = {
      {form_.Label7, form_.Label34}, {form_.Label5, form_.Label31},  {form_.Label44, form_.Label43},
      {form_.Label9, form_.Label36}, {form_.Label11, form_.Label38}, {form_.Label13, form_.Label40},
      {form_.Label15, form_.Label42}};
  const QStringList expected = {"four.txt", "4", "1", "2.500", "1.291", "3.000", "0.430"};
  for (size_t i = 0; i < std::size(pairs); ++i) {
    EXPECT_EQ(pairs[i].first->text(), expected[static_cast<int>(i)]);
    EXPECT_EQ(pairs[i].second->text(), expected[static_cast<int>(i)]);
  }
  ASSERT_EQ(form_.ListBox1->count(), 4);
  EXPECT_EQ(form_.ListBox1->item(0)->text(), " 1");
  EXPECT_EQ(form_.ListBox1->item(3)->text(), " 4");
  EXPECT_EQ(form_.ComboBox3->currentIndex(), 3);  // four values: far from every class
  EXPECT_EQ(FileText(InputTmp()), "1\r\n2\r\n3\r\n4\r\n");
  EXPECT_EQ(form2_.findChild<QProgressBar*>("Gauge1")->value(), 0);
  // The import leaves the status line alone.
  EXPECT_EQ(form_.Panel1->text(), " Welcome to the Ixo program.");
}

TEST_F(MainWindowTest, CancelledDialogChangesNothing) {
  Load(WriteDataFile("four.txt", "1\n2\n3\n4\n"));
  form_.ComboBox3->setCurrentIndex(2);
  form2_.SetGaugeProgress(100);
  Load("");
  EXPECT_EQ(form_.ListBox1->count(), 4);
  EXPECT_EQ(form_.ComboBox3->currentIndex(), 2);
  EXPECT_EQ(form2_.findChild<QProgressBar*>("Gauge1")->value(), 100);
  EXPECT_TRUE(dialogs_.errors.empty());
}

// An import that stops before the list is replaced leaves the histogram's
// series prepared: its list still holds the standardized values, whose moments
// computed again would read mean 0 and deviation 1.
TEST_F(MainWindowTest, ImportStoppedBeforeTheListKeepsTheHistogramPrepared) {
  const std::string four = WriteDataFile("four.txt", "1\n2\n3\n4\n");
  Load(four);
  form2_.SetGaugeProgress(100);
  std::filesystem::remove(InputTmp());
  Load(data_directory_.path().toStdString() + "/missing.txt");
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(form_.Edit3->text().toStdString(), four);  // what is loaded, not what failed
  EXPECT_EQ(form_.ListBox1->count(), 4);
  EXPECT_EQ(form_.Label7->text(), "four.txt");
  EXPECT_EQ(form2_.findChild<QProgressBar*>("Gauge1")->value(), 100);
}

// An error stops the import where it happens; what was done stays, and the
// box shows the message with its full stop.
TEST_F(MainWindowTest, EmptyFileShowsTheErrorBoxAfterTheCounts) {
  Load(WriteDataFile("empty.txt", ""));
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], "Invalid floating point operation.");
  EXPECT_EQ(form_.Label5->text(), "0");
  EXPECT_EQ(form_.Label44->text(), "1");
  EXPECT_EQ(form_.Label7->text(), "empty.txt");
  EXPECT_EQ(form_.Label9->text(), "");  // no mean of an empty series
}

TEST_F(MainWindowTest, ButtonsWithoutDataAskForAFile) {
  form_.BitBtn1->click();
  form_.Button1->click();
  form_.SpeedButton3->click();
  ASSERT_EQ(dialogs_.messages.size(), 3u);
  for (const QString& message : dialogs_.messages) {
    EXPECT_EQ(message, "Please, load an input file first.");
  }
  EXPECT_FALSE(form_.Timer1->isActive());
  EXPECT_TRUE(form_.StringGrid1->Cell(0, 0).isEmpty());
}

// "Histogram" shows the histogram window modally over the loaded list; its
// computation rewrites ListBox1 with the standardized, sorted series. The
// window is closed from a timer once it has done so, and opened a second time.
TEST_F(MainWindowTest, HistogramButtonShowsTheWindowOverTheList) {
  Load(WriteDataFile("four.txt", "4\n1\n3\n2\n"));
  form_.show();
  for (int opening = 0; opening < 2; ++opening) {
    bool was_modal = false;
    int ticks = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      was_modal = was_modal || QApplication::activeModalWidget() == &form2_;
      const bool computed = form_.ListBox1->item(0)->text() == "-1.34164078649987";
      if ((was_modal && computed) || ++ticks > 500) form2_.reject();
    });
    closer.start(10);
    form_.BitBtn1->click();
    closer.stop();
    EXPECT_TRUE(was_modal) << "opening " << opening;
    EXPECT_EQ(form2_.result(), QDialog::Rejected);
  }
  ASSERT_EQ(form_.ListBox1->count(), 4);
  EXPECT_EQ(form_.ListBox1->item(0)->text(), "-1.34164078649987");
  EXPECT_EQ(form_.ListBox1->item(1)->text(), "-0.447213595499958");
  EXPECT_EQ(form_.ListBox1->item(2)->text(), "0.447213595499958");
  EXPECT_EQ(form_.ListBox1->item(3)->text(), "1.34164078649987");
  EXPECT_EQ(form2_.findChild<QProgressBar*>("Gauge1")->value(), 100);
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(MainWindowTest, HandlerErrorsReachTheErrorBoxWithAFullStop) {
  form_.Guarded([] { throw std::runtime_error("File not found"); });
  form_.Guarded([] { throw std::runtime_error("Cannot open clipboard."); });
  ASSERT_EQ(dialogs_.errors.size(), 2u);
  EXPECT_EQ(dialogs_.errors[0], "File not found.");
  EXPECT_EQ(dialogs_.errors[1], "Cannot open clipboard.");
}

TEST_F(MainWindowTest, ClosingDeletesInputTmpOnly) {
  Load(WriteDataFile("four.txt", "1\n2\n3\n4\n"));
  ASSERT_TRUE(std::filesystem::exists(InputTmp()));
  std::ofstream(program_directory_ + "output.tmp") << "1.000\n";
  form_.show();
  form_.close();
  EXPECT_FALSE(std::filesystem::exists(InputTmp()));
  EXPECT_TRUE(std::filesystem::exists(program_directory_ + "output.tmp"));
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(MainWindowTest, ClosingWithoutALoadIsSilent) {
  form_.show();
  form_.close();
  EXPECT_TRUE(dialogs_.errors.empty());
  EXPECT_TRUE(dialogs_.messages.empty());
}

// Closing the window while an engine computes leaves the engine to finish; the
// window and its host are then destroyed as usual, which stops nothing.
TEST(MainWindowCloseTest, ClosingDuringARunLeavesTheEngineRunning) {
  QTemporaryDir directory;
  const std::string program_directory = directory.path().toStdString() + "/";
  const std::string engine = program_directory + "ixo_engine";
  std::ofstream(engine) << "#!/bin/sh\nexec sleep 600\n";
  std::filesystem::permissions(engine, std::filesystem::perms::owner_all);
  std::ofstream(program_directory + "input.tmp") << "1\r\n2\r\n3\r\n";
  pid_t pid = -1;
  {
    PlatformRunHost host(program_directory);
    ScriptedDialogs dialogs;
    TForm1 form(dialogs, host, [](const std::string&) {});
    form.show();
    form.Guarded([&form] { form.Button1Click(); });
    ASSERT_TRUE(form.Timer1->isActive());
    pid = host.EnginePid();
    ASSERT_GT(pid, 0);
    form.close();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(std::filesystem::exists(program_directory + "input.tmp"));
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(dialogs.messages.empty());
  }
  siginfo_t info{};
  ASSERT_EQ(::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT), 0);
  EXPECT_EQ(info.si_pid, 0) << "the engine was stopped";
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

// A user whose locale writes decimal commas: the window takes its separator
// from the locale, so lists and labels show commas while input.tmp keeps points.
class CommaLocale {
 protected:
  CommaLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
  ~CommaLocale() { QLocale::setDefault(QLocale::c()); }
};

class CommaLocaleWindowTest : private CommaLocale, public MainWindowTest {};

TEST_F(CommaLocaleWindowTest, ShowsCommasAndWritesPoints) {
  EXPECT_EQ(form_.DecimalSeparator(), ',');
  Load(WriteDataFile("mixed.txt", "1,5\n2.5\n-3,25\n"));
  ASSERT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front().toStdString();
  ASSERT_EQ(form_.ListBox1->count(), 3);
  EXPECT_EQ(form_.ListBox1->item(0)->text(), " 1,5");
  EXPECT_EQ(form_.ListBox1->item(1)->text(), " 2,5");
  EXPECT_EQ(form_.ListBox1->item(2)->text(), "-3,25");
  EXPECT_EQ(form_.Label9->text(), "0,250");
  EXPECT_EQ(form_.Label36->text(), "0,250");
  EXPECT_EQ(FileText(InputTmp()), "1.5\r\n2.5\r\n-3.25\r\n");
}

}  // namespace
}  // namespace ixo

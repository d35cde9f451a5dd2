// An advanced run with every option ticked, through the window's own fields
// and the real engine: each field must reach its place in the report.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "window_test_support.h"

namespace ixo {
namespace {

TEST_F(MainWindowTest, AdvancedRunReportsEveryTickedOption) {
  Load(WriteDataFile("small.txt", SmallSeries()));
  form_.PageControl1->setCurrentWidget(form_.TabSheet2);
  form_.Edit7->setText("3");
  form_.CheckBox3->click();
  form_.Edit5->setText("20");
  form_.CheckBox2->click();
  form_.Edit6->setText("30");
  form_.CheckBox1->click();
  form_.Edit8->setText("0.75");

  form_.SpeedButton3->click();
  EXPECT_EQ(form_.Panel1->text(), "Calculation can take several minutes, please do not interupt.");
  WaitForRunEnd();

  ASSERT_TRUE(dialogs_.errors.empty()) << dialogs_.errors.front().toStdString();
  EXPECT_TRUE(dialogs_.messages.empty());
  EXPECT_EQ(form_.Panel1->text(), "Calculation done.");
  const QStringList lines = form_.Memo1->toPlainText().split('\n');
  ASSERT_EQ(lines.size(), 8) << form_.Memo1->toPlainText().toStdString();
  EXPECT_EQ(lines[0], "--------------------");
  EXPECT_EQ(lines[1], " Input filename: small.txt");
  EXPECT_EQ(lines[2], " Epsilon range: 0.60 - 1.90");
  EXPECT_EQ(lines[3], " Embedding dimension: 3");
  EXPECT_EQ(lines[4], " Number of intervals: 20");
  EXPECT_EQ(lines[5], " Correlation integral constraint: 30");
  EXPECT_TRUE(lines[6].startsWith(" Ixo = ")) << lines[6].toStdString();
  EXPECT_TRUE(lines[7].startsWith(" BDS = ")) << lines[7].toStdString();
  EXPECT_TRUE(lines[7].endsWith(" (m = 3; epsilon = 0.75)")) << lines[7].toStdString();

  form_.SpeedButton4->click();
  EXPECT_TRUE(form_.Memo1->toPlainText().isEmpty());
}

TEST_F(MainWindowTest, AdvancedRunRefusesADimensionThatIsNoInteger) {
  Load(WriteDataFile("small.txt", SmallSeries()));
  form_.Edit7->setText("two");
  form_.SpeedButton3->click();
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], "'two' is not a valid integer value.");
  EXPECT_FALSE(form_.Timer1->isActive());
}

}  // namespace
}  // namespace ixo

// The histogram window over a vector-backed observation list, offscreen, with
// scripted dialogs so that no box ever blocks.
#include "ui/Unit2.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "analysis/normal_distribution.h"
#include "analysis/observation_list.h"
#include "ui/design_font.h"
#include "ui/histogram_chart.h"

namespace ixo {
namespace {

const char kSkewnessHint[] = "Statistics: 0.000 Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)";
const char kKurtosisHint[] = "Statistics: -0.555 Critical values: 1.65 (10%), 1.96 (5%), 2.58 (1%)";

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "unit2_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    InstallDesignFonts();
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};
const auto* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Records every box instead of showing it.
class ScriptedDialogs final : public Dialogs {
 public:
  QString OpenFileName(QWidget*, const QString&) override { return {}; }
  void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
  void ShowError(QWidget* parent, const QString& message) override {
    errors.push_back(ErrorBoxText(message));
    if (boxes_take_activation) TakeActivation(parent);
  }

  // Like a real box: a window of its own takes the activation while it is
  // open and hands it back to `parent` when it closes.
  static void TakeActivation(QWidget* parent) {
    QWidget box(parent, Qt::Dialog);
    box.show();
    box.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
    box.close();
    parent->activateWindow();
  }

  bool boxes_take_activation = false;
  std::vector<QString> messages;
  std::vector<QString> errors;
};

class HistogramWindow : public ::testing::Test {
 protected:
  HistogramWindow() : form_(list_, dialogs_, '.', &main_window_) {
    main_window_.resize(200, 100);
    main_window_.show();
  }

  // What an import does: new items in file order, the gauge back to 0.
  void Load(const std::vector<std::string>& items) {
    list_.Clear();
    for (const std::string& item : items) list_.Append(item);
    form_.SetGaugeProgress(0);
  }

  // What the main window's "Histogram" button does, up to the computation
  // that the window's activation runs.
  void Open() {
    form_.ClearSeries();
    form_.show();
    form_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
    Settle();
  }

  // Delivers the activation and the computation it queues.
  static void Settle() {
    for (int pass = 0; pass < 3; ++pass) QCoreApplication::processEvents();
  }

  // Back to the main window, which takes the activation.
  void Close() {
    form_.hide();
    main_window_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main_window_));
    Settle();
  }

  QString Text(const char* label) const {
    return form_.findChild<QLabel*>(QString::fromLatin1(label))->text();
  }
  QString Hint(const char* label) const {
    return form_.findChild<QLabel*>(QString::fromLatin1(label))->toolTip();
  }
  QStringList Labels() const {
    return {Text("Label9"), Text("Label11"), Text("Label4"), Text("Label6"), Text("Label14")};
  }
  HistogramChart* Chart() const { return form_.findChild<HistogramChart*>("Chart1"); }
  QProgressBar* Gauge() const { return form_.findChild<QProgressBar*>("Gauge1"); }
  QSpinBox* Spin() const { return form_.findChild<QSpinBox*>("SpinEdit1"); }
  QCheckBox* Box(const char* name) const {
    return form_.findChild<QCheckBox*>(QString::fromLatin1(name));
  }

  QWidget main_window_;
  VectorObservationList list_;
  ScriptedDialogs dialogs_;
  TForm2 form_;
};

QList<double> Heights(const QList<QPointF>& points) {
  QList<double> heights;
  for (const QPointF& p : points) heights << p.y();
  return heights;
}

TEST_F(HistogramWindow, StartsWithItsDesignedControls) {
  EXPECT_EQ(form_.windowTitle(), "Histogram");
  EXPECT_TRUE(form_.isModal());
  EXPECT_EQ(Gauge()->value(), 0);
  EXPECT_TRUE(Gauge()->isTextVisible());
  EXPECT_EQ(Gauge()->geometry(), QRect(57, 14, 88, 20));
  EXPECT_TRUE(Box("CheckBox2")->isChecked());
  EXPECT_EQ(Box("CheckBox2")->text(), "Show standard normal");
  EXPECT_TRUE(Box("CheckBox1")->isChecked());
  EXPECT_EQ(Box("CheckBox1")->text(), "Show values");
  EXPECT_EQ(Spin()->value(), 9);
  EXPECT_EQ(Spin()->minimum(), 1);
  EXPECT_EQ(Spin()->maximum(), 50);
  EXPECT_EQ(Spin()->geometry(), QRect(93, 83, 45, 24));
  const auto* group = form_.findChild<QGroupBox*>("GroupBox1");
  EXPECT_EQ(group->title(), " Normality tests ");
  EXPECT_EQ(group->geometry(), QRect(152, 8, 217, 105));
  form_.layout()->activate();
  EXPECT_EQ(Chart()->geometry(), QRect(5, 5, 369, 289));
  EXPECT_EQ(form_.findChild<QWidget*>("Panel1")->geometry(), QRect(5, 294, 369, 117));
  EXPECT_EQ(Labels(), QStringList({"0", "0", "0", "0", "0"}));
  EXPECT_TRUE(form_.findChild<QLabel*>("Label6")->font().bold());
  EXPECT_EQ(Hint("Label14"), "Critical values: 4.61 (10%), 5.99 (5%), 9.21 (1%)");
  EXPECT_TRUE(Chart()->chart()->title().isEmpty());
  EXPECT_FALSE(Chart()->chart()->legend()->isVisible());
}

TEST_F(HistogramWindow, FirstOpeningComputesStandardizesAndBins) {
  Load({" 1", " 2", " 3", " 4"});
  std::vector<int> gauge_values;
  QObject::connect(Gauge(), &QProgressBar::valueChanged, [&](int v) { gauge_values.push_back(v); });
  Open();

  EXPECT_EQ(Labels(), QStringList({"2.500", "1.118", "0.000", "1.640", "0.308"}));
  EXPECT_EQ(Hint("Label4"), kSkewnessHint);
  EXPECT_EQ(Hint("Label6"), kKurtosisHint);
  EXPECT_EQ(list_.items(), std::vector<std::string>({"-1.34164078649987", "-0.447213595499958",
                                                     "0.447213595499958", "1.34164078649987"}));
  EXPECT_EQ(Heights(Chart()->Bars()), QList<double>({0, 0, 0.25, 0.25, 0, 0.25, 0.25, 0, 0}));
  EXPECT_NEAR(Chart()->Bars()[4].x(), 0, 1e-12);
  EXPECT_EQ(Chart()->MarkTexts(),
            QStringList({"0", "0", "0.25", "0.25", "0", "0.25", "0.25", "0", "0"}));
  ASSERT_EQ(Chart()->Curve().size(), 9);
  EXPECT_NEAR(Chart()->Curve()[4].y(), 0.2611, 5e-5);
  EXPECT_EQ(gauge_values, std::vector<int>({37, 100}));
  EXPECT_EQ(Gauge()->value(), 100);
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(HistogramWindow, SecondOpeningOnlyRebins) {
  Load({" 1", " 2", " 3", " 4"});
  Open();
  const std::vector<std::string> standardized = list_.items();
  Close();

  Spin()->setValue(3);  // hidden: re-bins at once, the moments stay
  Open();
  EXPECT_EQ(Labels(), QStringList({"2.500", "1.118", "0.000", "1.640", "0.308"}));
  EXPECT_EQ(Hint("Label6"), kKurtosisHint);
  EXPECT_EQ(list_.items(), standardized);
  EXPECT_EQ(Heights(Chart()->Bars()), QList<double>({0.25, 0.5, 0.25}));
  EXPECT_EQ(Chart()->Curve().size(), 3);

  // A new load makes the next opening compute everything again.
  Close();
  Load({" 10", " 10", " 20", " 20"});
  Open();
  EXPECT_EQ(Labels(), QStringList({"15.000", "5.000", "0.000", "1.000", "0.667"}));
  EXPECT_EQ(list_.items(), std::vector<std::string>({"-1", "-1", "1", "1"}));
}

TEST_F(HistogramWindow, CheckBoxesHideCurveAndMarksAcrossRebinning) {
  Load({" 1", " 2", " 3", " 4"});
  Open();
  Box("CheckBox2")->click();
  EXPECT_TRUE(Chart()->Curve().isEmpty());
  Spin()->setValue(6);
  EXPECT_EQ(Chart()->Bars().size(), 6);
  EXPECT_TRUE(Chart()->Curve().isEmpty());
  Box("CheckBox2")->click();
  EXPECT_EQ(Chart()->Curve().size(), 6);

  Box("CheckBox1")->click();
  EXPECT_FALSE(Chart()->MarksVisible());
  Spin()->setValue(1);
  EXPECT_FALSE(Chart()->MarksVisible());
  ASSERT_EQ(Chart()->Bars().size(), 1);
  EXPECT_EQ(Chart()->Bars()[0], QPointF(0, 1));
  EXPECT_NEAR(Chart()->Curve()[0].y(), 0.9973, 5e-5);
  Box("CheckBox1")->click();
  EXPECT_TRUE(Chart()->MarksVisible());
}

TEST_F(HistogramWindow, BinCountTextThatIsNoNumberDrawsOneBin) {
  Load({" 1", " 2", " 3", " 4"});
  Open();
  Spin()->findChild<QLineEdit*>()->setText(QString());  // the user cleared the field to type
  EXPECT_EQ(Chart()->Bars().size(), 1);
  EXPECT_EQ(Chart()->Curve().size(), 1);
}

// A number typed above 50 stands while the field has the focus and draws 50
// bins; leaving the field, or Enter, brings it to the nearer limit.
TEST_F(HistogramWindow, TypedBinCountOutsideTheRangeBecomesTheNearerLimit) {
  Load({" 1", " 2", " 3", " 4"});
  Open();
  const struct {
    const char* typed;
    int bars_while_typed;
    const char* after;
    bool leave_by_focus;  // else by Enter
  } cases[] = {
      {"99", 50, "50", false}, {"120", 50, "50", true}, {"75", 50, "50", true},
      {"0", 0, "1", false},    {"30", 30, "30", false},
  };
  for (const auto& c : cases) {
    Spin()->setFocus();
    Spin()->selectAll();
    QTest::keyClicks(Spin(), QString::fromLatin1(c.typed));
    EXPECT_EQ(Spin()->text().toStdString(), c.typed);
    EXPECT_EQ(Chart()->Bars().size(), c.bars_while_typed) << c.typed;
    if (c.leave_by_focus) {
      Box("CheckBox1")->setFocus();
    } else {
      QTest::keyClick(Spin(), Qt::Key_Return);
    }
    Settle();
    EXPECT_EQ(Spin()->text().toStdString(), c.after) << c.typed;
    EXPECT_EQ(Spin()->value(), Spin()->text().toInt()) << c.typed;
    EXPECT_EQ(Chart()->Bars().size(), Spin()->value()) << c.typed;
  }
  EXPECT_TRUE(dialogs_.errors.empty());
}

TEST_F(HistogramWindow, ConstantSeriesShowsTheErrorAndChangesNothing) {
  Load({" 1", " 2", " 3", " 4"});
  Open();
  Close();

  Load({" 5", " 5", " 5"});
  Open();
  ASSERT_EQ(dialogs_.errors.size(), 1u);
  EXPECT_EQ(dialogs_.errors[0], "Invalid floating point operation.");
  EXPECT_EQ(Labels(), QStringList({"2.500", "1.118", "0.000", "1.640", "0.308"}));
  EXPECT_EQ(Hint("Label6"), kKurtosisHint);
  EXPECT_EQ(list_.items(), std::vector<std::string>({" 5", " 5", " 5"}));
  EXPECT_EQ(Gauge()->value(), 0);
  EXPECT_TRUE(Chart()->Bars().isEmpty());
  EXPECT_TRUE(Chart()->Curve().isEmpty());

  // The window stays usable: the next change tries again and says so again.
  Spin()->setValue(4);
  EXPECT_EQ(dialogs_.errors.size(), 2u);
  EXPECT_TRUE(Chart()->Bars().isEmpty());
}

TEST_F(HistogramWindow, ClosingTheErrorBoxDoesNotComputeAgain) {
  dialogs_.boxes_take_activation = true;
  Load({" 5", " 5", " 5"});
  Open();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  Settle();
  EXPECT_EQ(dialogs_.errors.size(), 1u);

  // Coming back from another window is a new activation and computes again.
  Close();
  Open();
  EXPECT_EQ(dialogs_.errors.size(), 2u);
}

TEST_F(HistogramWindow, ExecShowsModallyAndComputesOnActivation) {
  Load({" 1", " 2", " 3", " 4"});
  bool computed = false;
  QTimer::singleShot(0, &form_, [&] {
    computed = QTest::qWaitFor([&] { return Gauge()->value() == 100; });
    form_.accept();
  });
  form_.ClearSeries();
  form_.exec();
  EXPECT_TRUE(computed);
  EXPECT_EQ(Chart()->Bars().size(), 9);
}

TEST(HistogramChart, MarksFollowTheBarsWhenThePlotChanges) {
  HistogramChart chart('.');
  chart.resize(369, 289);
  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
  chart.SetBars({{-1, 0.25}, {0, 0.5}, {1, 0.25}}, 2);
  chart.SetCurve({{-1, 0.2}, {0, 0.6}, {1, 0.2}});

  auto expect_marks_on_bars = [&] {
    QCoreApplication::processEvents();
    const QList<QLineF> pointers = chart.MarkPointers();
    ASSERT_EQ(pointers.size(), 3);
    for (int i = 0; i < 3; ++i) {
      const QPointF top = chart.chart()->mapToPosition(chart.Bars()[i]);
      EXPECT_EQ(pointers[i].p1(), top) << i;
      EXPECT_EQ(pointers[i].p2(), top - QPointF(0, 20)) << i;
      EXPECT_TRUE(chart.chart()->plotArea().contains(top)) << i;
    }
  };
  expect_marks_on_bars();
  chart.resize(500, 400);
  expect_marks_on_bars();
  EXPECT_EQ(chart.MarkTexts(), QStringList({"0.25", "0.5", "0.25"}));

  // Both axes cover both series: the x axis the bars' slots, the y axis the
  // curve's peak above the highest bar.
  const auto* x_axis = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Horizontal).first());
  const auto* y_axis = qobject_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical).first());
  EXPECT_EQ(x_axis->min(), -2);
  EXPECT_EQ(x_axis->max(), 2);
  EXPECT_EQ(y_axis->min(), 0);
  EXPECT_GE(y_axis->max(), 0.6);
}

// With many narrow bins the marks would cover each other: those drawn stay
// apart (their frames may share a border line) and within the chart, the
// highest bar keeps its mark, and with few bins every bar has its mark.
TEST(HistogramChart, MarksThatWouldOverlapAreLeftOut) {
  HistogramChart chart('.');
  chart.resize(369, 289);
  chart.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
  for (const int bins : {9, 10, 15, 30, 50}) {
    QList<QPointF> bars;
    for (const ChartPoint& p : DrawNormalCurve(bins)) bars << QPointF(p.x, p.y);
    chart.SetBars(bars, 6.0 / bins);
    QCoreApplication::processEvents();
    const QList<QRectF> frames = chart.ShownMarkFrames();
    if (bins <= 10) {
      EXPECT_EQ(frames.size(), bins);
    }
    EXPECT_GT(frames.size(), 5) << bins;
    const QRectF bounds = chart.chart()->rect();
    for (qsizetype i = 0; i < frames.size(); ++i) {
      EXPECT_GE(frames[i].left(), bounds.left()) << bins << " bins, mark " << i;
      EXPECT_LE(frames[i].right(), bounds.right()) << bins << " bins, mark " << i;
      for (qsizetype j = i + 1; j < frames.size(); ++j) {
        EXPECT_FALSE(frames[i].adjusted(1, 1, -1, -1).intersects(frames[j]))
            << bins << " bins, marks " << i << " and " << j;
      }
    }
    // The highest bar keeps its mark, centred above it.
    const QPointF highest = *std::max_element(
        bars.begin(), bars.end(), [](const QPointF& a, const QPointF& b) { return a.y() < b.y(); });
    const QPointF top = chart.chart()->mapToPosition(highest);
    EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [&](const QRectF& frame) {
      return std::abs(frame.center().x() - top.x()) < 0.5 && frame.bottom() <= top.y();
    })) << bins;

    chart.SetMarksVisible(false);
    EXPECT_TRUE(chart.ShownMarkFrames().isEmpty()) << bins;
    chart.SetMarksVisible(true);
    EXPECT_EQ(chart.ShownMarkFrames().size(), frames.size()) << bins;
  }
}

TEST(HistogramChart, MarksUseTheDecimalSeparator) {
  HistogramChart chart(',');
  chart.SetBars({{0, 0.0625}, {1, 1234.5}}, 1);
  EXPECT_EQ(chart.MarkTexts(), QStringList({"0,063", "1.234,5"}));
  chart.SetBars({}, 0);
  EXPECT_TRUE(chart.MarkTexts().isEmpty());
}

}  // namespace
}  // namespace ixo

// The "Basic test" page of TForm1: the data file, its descriptive statistics,
// the observation list, the basic options and the results grid.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "ui/Unit1.h"
#include "ui/form_layout.h"
#include "ui/string_grid.h"

using ixo::Place;
using ixo::PlaceLabel;

namespace {

// Up to ComboBox1r's column, less a gap.
constexpr int kSetCaptionWidth = 76;
// The overall verdict line starts under "Histogram", so that its longest text fits on one line.
constexpr int kFamilyVerdictLeft = 296;

QComboBox* PlaceChoiceList(QWidget* parent, const char* name, int left, int top, int width,
                           const QStringList& items, int selected) {
  auto* list = Place(new QComboBox(parent), name, left, top, width, 21);
  list->addItems(items);
  list->setCurrentIndex(selected);
  return list;
}

}  // namespace

void TForm1::BuildBasicPage() {
  QWidget* page = TabSheet1;
  Label4 = PlaceLabel(page, QStringLiteral("Input file:"), 10, 13, "Label4");
  Edit3 = Place(new QLineEdit(page), "Edit3", 59, 12, 110, 21);
  SpeedButton1 =
      Place(new QPushButton(QStringLiteral("..."), page), "SpeedButton1", 170, 11, 23, 23);

  GroupBox2 = Place(new QGroupBox(QStringLiteral(" Descriptive statistics "), page), "GroupBox2", 9,
                    38, 184, 147);
  ixo::PlaceStatistics(GroupBox2,
                       {"Label7", "Label5", "Label44", "Label9", "Label11", "Label13", "Label15"},
                       {&Label7, &Label5, &Label44, &Label9, &Label11, &Label13, &Label15});

  ListBox1 = Place(new QListWidget(page), "ListBox1", 200, 11, 89, 174);
  ListBox1->setUniformItemSizes(true);

  GroupBox3 =
      Place(new QGroupBox(QStringLiteral(" Basic options "), page), "GroupBox3", 294, 6, 176, 115);
  PlaceLabel(GroupBox3, QStringLiteral("Epsilon range:"), 8, 24);
  ComboBox1r = PlaceChoiceList(GroupBox3, "ComboBox1r", 87, 20, 82,
                               {QStringLiteral("0.60 - 1.90"), QStringLiteral("0.25 - 1.00"),
                                QStringLiteral("0.50 - 1.50"), QStringLiteral("0.25 - 2.00")},
                               0);
  PlaceLabel(GroupBox3, QStringLiteral("Maximum dimension:"), 8, 53);
  QStringList dimensions;
  for (int m = 2; m <= 10; ++m) dimensions << QString::number(m);
  ComboBox2 = PlaceChoiceList(GroupBox3, "ComboBox2", 112, 51, 57, dimensions, 8);
  ComboBox2->setMaxVisibleItems(9);
  // "permutation" needs a box as wide as ComboBox1r to show whole when closed,
  // so the set's box takes ComboBox1r's column and its caption two lines.
  QLabel* set_caption = PlaceLabel(GroupBox3, QStringLiteral("Set of critical values:"), 8, 79);
  set_caption->setWordWrap(true);
  set_caption->resize(kSetCaptionWidth, set_caption->heightForWidth(kSetCaptionWidth));
  ComboBox3 = PlaceChoiceList(GroupBox3, "ComboBox3", 87, 82, 82,
                              {QStringLiteral("500"), QStringLiteral("1000"),
                               QStringLiteral("2500"), QStringLiteral("permutation")},
                              0);

  BitBtn1 = Place(new QPushButton(QStringLiteral("Histogram"), page), "BitBtn1", 296, 129, 85, 33);
  Button1 =
      Place(new QPushButton(QStringLiteral("Run the test"), page), "Button1", 384, 129, 85, 33);

  StringGrid1 = Place(new ixo::StringGrid(3, ixo::kGridColumnWidths, 10, 14, page), "StringGrid1",
                      475, 9, 151, 153);
  // A permutation run's overall verdict, one line under the grid, ending where
  // the grid with its p-value column ends; blank until such a run finishes.
  FamilyVerdict = Place(new QLabel(page), "FamilyVerdict", kFamilyVerdictLeft, 166,
                        475 + ixo::kGridWidthWithPValues - kFamilyVerdictLeft, 14);
  FamilyVerdict->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  CopyresultsintoClipboard1 = PopupMenu1->addAction(QStringLiteral("Copy results into Clipboard"));
  CopyresultsintoClipboard1->setObjectName(QStringLiteral("CopyresultsintoClipboard1"));
  ShowCorrelationIntegrals1 = PopupMenu1->addAction(QStringLiteral("Show correlation integrals"));
  ShowCorrelationIntegrals1->setObjectName(QStringLiteral("ShowCorrelationIntegrals1"));
  ShowCorrelationIntegrals1->setEnabled(false);  // until a basic run has finished
  StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
}

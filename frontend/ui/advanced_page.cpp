// The "Advanced test" page of TForm1: the data file and its statistics again,
// the free options of one engine run, and the report memo.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/Unit1.h"
#include "ui/form_layout.h"

using ixo::Place;
using ixo::PlaceLabel;

namespace {

QLineEdit* PlaceField(QWidget* parent, const char* name, int left, int top, const char* text,
                      bool enabled) {
  auto* field = Place(new QLineEdit(QString::fromLatin1(text), parent), name, left, top, 41, 21);
  field->setEnabled(enabled);
  return field;
}

QCheckBox* PlaceCheckBox(QWidget* parent, const char* name, const char* caption, int left,
                         int top) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  box->move(left, top - 1);
  box->adjustSize();
  return box;
}

}  // namespace

void TForm1::BuildAdvancedPage() {
  QWidget* page = TabSheet2;
  Label21 = PlaceLabel(page, QStringLiteral("Input file:"), 10, 13, "Label21");
  Edit1 = Place(new QLineEdit(page), "Edit1", 59, 12, 110, 21);
  SpeedButton2 =
      Place(new QPushButton(QStringLiteral("..."), page), "SpeedButton2", 170, 11, 23, 23);

  GroupBox4 = Place(new QGroupBox(QStringLiteral(" Descriptive statistics "), page), "GroupBox4", 9,
                    38, 184, 147);
  ixo::PlaceStatistics(
      GroupBox4, {"Label34", "Label31", "Label43", "Label36", "Label38", "Label40", "Label42"},
      {&Label34, &Label31, &Label43, &Label36, &Label38, &Label40, &Label42});

  GroupBox1 = Place(new QGroupBox(QStringLiteral(" Advanced options"), page), "GroupBox1", 199, 8,
                    210, 153);
  PlaceLabel(GroupBox1, QStringLiteral("Epsilon range:"), 16, 24);
  Edit2 = PlaceField(GroupBox1, "Edit2", 96, 20, "0.60", true);
  PlaceLabel(GroupBox1, QStringLiteral("-"), 148, 24);
  Edit4 = PlaceField(GroupBox1, "Edit4", 160, 20, "1.90", true);
  PlaceLabel(GroupBox1, QStringLiteral("Embedding dimension:"), 16, 50);
  Edit7 = PlaceField(GroupBox1, "Edit7", 160, 46, "2", true);
  CheckBox3 = PlaceCheckBox(GroupBox1, "CheckBox3", "Number of intervals:", 16, 74);
  Edit5 = PlaceField(GroupBox1, "Edit5", 160, 72, "40", false);
  CheckBox2 = PlaceCheckBox(GroupBox1, "CheckBox2", "Cm constraint:", 16, 100);
  Edit6 = PlaceField(GroupBox1, "Edit6", 160, 98, "50", false);
  CheckBox1 = PlaceCheckBox(GroupBox1, "CheckBox1", "Compute BDS for epsilon:", 16, 128);
  Edit8 = PlaceField(GroupBox1, "Edit8", 160, 126, "0.50", false);

  Memo1 = Place(new QPlainTextEdit(page), "Memo1", 416, 14, 210, 111);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SpeedButton3 = Place(new QPushButton(QStringLiteral("Run the test"), page), "SpeedButton3", 416,
                       128, 111, 33);
  SpeedButton4 = Place(new QPushButton(QStringLiteral("Clear window"), page), "SpeedButton4", 544,
                       128, 85, 33);
}

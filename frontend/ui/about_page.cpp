// The "About the program" page of TForm1: the picture, the program info with
// the mail link, the description of the test with its sources and the link to
// the program's web page, and the help text.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>

#include "ui/Unit1.h"
#include "ui/design_font.h"
#include "ui/form_layout.h"
#include "ui/help_text.h"
#include "ui/jpeg_picture.h"

using ixo::Place;
using ixo::PlaceLabel;

namespace {

constexpr const char* kMailAddress = "ixo@example.org";
constexpr const char* kHomepage = "https://example.org/ixo";

// The description's lines; journal titles in italics.
constexpr const char* kDescription[] = {
    "The program calculates the Ixo statistic, a test of whether a time",
    "series is independent and identically distributed. The test rests on",
    "Grassberger, P. and Procaccia, I. (1983), <i>Physica D</i> 9, 189-208, and",
    "Brock, W. A., Dechert, W. D., Scheinkman, J. A. and LeBaron, B. (1996),",
    "<i>Econometric Reviews</i> 15, 197-235. More on the",
};

}  // namespace

void TForm1::BuildAboutPage(ixo::LinkOpener opener) {
  QWidget* page = TabSheet4;

  Panel3 = Place(new QFrame(page), "Panel3", 8, 8, 176, 77);
  Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel3->setLineWidth(1);
  Image1 = Place(new QLabel(Panel3), "Image1", 2, 2, 172, 73);
  Image1->setPixmap(QPixmap::fromImage(ixo::AboutPicture()));
  Image1->setToolTip(QStringLiteral(
      "With thanks to the four colleagues who tested the first versions and helped with their "
      "comments."));

  GroupBox7 =
      Place(new QGroupBox(QStringLiteral(" Program info"), page), "GroupBox7", 192, 3, 225, 82);
  PlaceLabel(GroupBox7, QStringLiteral("Author:"), 8, 14);
  AuthorLink = new ixo::LinkLabel(QStringLiteral("The Ixo developers"),
                                  QStringLiteral("mailto:") + QLatin1String(kMailAddress), opener,
                                  GroupBox7);
  AuthorLink->setObjectName(QStringLiteral("AuthorLink"));
  AuthorLink->move(44, 14);
  PlaceLabel(GroupBox7, QStringLiteral("Compilation date: May the 9th, 2005"), 8, 30);
  PlaceLabel(GroupBox7, QStringLiteral("If you have any comments or suggestions"), 20, 47);
  PlaceLabel(GroupBox7, QStringLiteral("to the program, please send me an e-mail."), 19, 64);

  GroupBox6 =
      Place(new QGroupBox(QStringLiteral(" Description "), page), "GroupBox6", 8, 87, 409, 101);
  int top = 16;
  for (const char* line : kDescription) {
    QLabel* label = PlaceLabel(GroupBox6, QString::fromLatin1(line), 8, top);
    label->setTextFormat(Qt::RichText);
    label->adjustSize();
    top += 16;
  }
  HomepageLink = new ixo::LinkLabel(QStringLiteral("program homepage"), QLatin1String(kHomepage),
                                    opener, GroupBox6);
  HomepageLink->setObjectName(QStringLiteral("HomepageLink"));
  HomepageLink->move(288, 80);

  Memo2 = Place(new QPlainTextEdit(page), "Memo2", 420, 8, 201, 161);
  Memo2->setFont(ixo::HelpTextFont());
  Memo2->setReadOnly(true);
  Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo2->setPlainText(QString::fromLatin1(ixo::HelpText()));

  Label28 = PlaceLabel(page, QString(), 224, 40, "Label28");
}

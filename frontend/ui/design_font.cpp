#include "ui/design_font.h"

namespace ixo {

namespace {
// 8 points at the 96 DPI the layout was drawn for.
constexpr int kDesignPixelSize = 11;
// Liberation Sans runs about 4 % wider than the designed font at this size;
// narrowed by that much, captions end where the layout expects them to.
constexpr int kDesignStretch = 96;

QFont MakeFont(const QString& family, bool bold) {
  QFont font(family);
  font.setPixelSize(kDesignPixelSize);
  font.setStretch(kDesignStretch);
  font.setBold(bold);
  return font;
}
}  // namespace

void InstallDesignFonts() {
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Microsoft Sans Serif"),
                            QStringLiteral("Liberation Sans"));
}

QFont DesignFont(bool bold) {
  return MakeFont(QStringLiteral("MS Sans Serif"), bold);
}

QFont HelpTextFont() {
  return MakeFont(QStringLiteral("Microsoft Sans Serif"), false);
}

}  // namespace ixo

// The font the windows were designed for. Their layout is fixed in pixels for
// an 8-point "MS Sans Serif" (11 pixels high); Debian has no such font, so its
// names are mapped to Liberation Sans, narrowed slightly to the design's widths,
// and the size is given in pixels so that the layout holds at any screen DPI.
#pragma once

#include <QFont>

namespace ixo {

// Maps "MS Sans Serif" and "Microsoft Sans Serif" to Liberation Sans. Call once
// after the application object exists and before any window is built.
void InstallDesignFonts();

// "MS Sans Serif" at 8 points (11 pixels), optionally bold.
QFont DesignFont(bool bold = false);

// "Microsoft Sans Serif" at 8 points, the help text's font.
QFont HelpTextFont();

}  // namespace ixo

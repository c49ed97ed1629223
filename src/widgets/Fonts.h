// The program's fonts. Windows ask for the fixed-pitch Korean font "굴림체" (and menus for "굴림",
// printed reports for "바탕체" and "Arial") by name; on machines without them Qt substitutes the
// fonts that exist.
#pragma once

#include <QFont>

namespace kolmara::ui {

// Registers the substitutions for "굴림체", "굴림" and the reports' "바탕체" and "Arial". Call
// once, after the application exists.
void installFontSubstitutions();

// "굴림체" at the given pixel size.
QFont gulimChe(int pixelSize = 12);
// "굴림" at the given pixel size (the menu font).
QFont gulim(int pixelSize = 12);

}  // namespace kolmara::ui

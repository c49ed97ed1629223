// The small labelled fields the screens are built from: a caption cell in the caption colour, and
// a sunken read-only panel that shows one value (the system's pn_ fields).
#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

namespace kolmara::screens {

// Fills `widget` with its palette's Window colour wherever it stands, a tool strip included.
void colourOwnBackground(QWidget* widget);

// A caption cell: centred text on the caption colour, `width` pixels wide, 21 high.
QLabel* captionCell(const QString& text, QWidget* parent, int width = 90);

// A read-only value panel named `name`; right-aligned for numbers. Its text can be selected and
// copied, not edited.
QLabel* valuePanel(const QString& name, QWidget* parent, bool rightAligned = false);

// Keeps what the user types or pastes into `edit` in capitals, as the system's upper-case fields
// do; text the program sets is left as it is.
void keepUpperCase(QLineEdit* edit);

}  // namespace kolmara::screens

// The program's drawn button images and the screens' 35 x 35 tool-strip buttons. The images are
// simple coloured tiles with a short glyph, drawn rather than shipped.
#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class QToolBar;
class QToolButton;

namespace kolmara::ui {

// A rounded tile of `size` pixels in `color` with `glyph` in white.
QIcon glyphIcon(const QString& glyph, const QColor& color, int size);

// Adds a flat 35 x 35 image button with a hint to a screen's tool strip.
QToolButton* addToolButton(QToolBar* bar, const QString& name, const QString& hint,
                           const QString& glyph, const QColor& color);

}  // namespace kolmara::ui

// Drawing of the button images.
#include "widgets/ToolButtons.h"

#include "widgets/Fonts.h"

#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace kolmara::ui {

QIcon glyphIcon(const QString& glyph, const QColor& color, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(color.darker(140));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 5.0, size / 5.0);
    // Longer glyphs get a smaller font so they still fit the tile.
    const int pixels = glyph.size() > 2   ? size / 3
                       : glyph.size() > 1 ? size * 9 / 20
                                          : size * 3 / 5;
    QFont f = gulim(qMax(7, pixels));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
    return QIcon(pixmap);
}

QToolButton* addToolButton(QToolBar* bar, const QString& name, const QString& hint,
                           const QString& glyph, const QColor& color)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(name);
    button->setFixedSize(35, 35);
    button->setIconSize(QSize(28, 28));
    button->setAutoRaise(true);
    button->setIcon(glyphIcon(glyph, color, 28));
    button->setToolTip(hint);
    bar->addWidget(button);
    return button;
}

}  // namespace kolmara::ui
